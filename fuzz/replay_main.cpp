/*
** Replays inputs through a fuzz target without libFuzzer: each argument is a
** file or a directory of files. The ordinary build runs the seed corpus and
** every input a fuzzer ever found this way, as regression tests.
*/
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_target.h"

namespace {
void replay(const std::filesystem::path &file, int &count) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
  ++count;
}
} // namespace

int main(int argc, char **argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto &entry : std::filesystem::directory_iterator(arg))
        if (entry.is_regular_file()) replay(entry.path(), count);
    } else {
      replay(arg, count);
    }
  }
  std::printf("replayed %d inputs\n", count);
  return count > 0 ? 0 : 1;
}
