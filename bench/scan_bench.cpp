/*
** Micro-benchmarks of the scan loop over memory buffers. Built twice: with
** rule actions that only count (the engine alone) and with the program's
** rule actions writing to /dev/null (the engine and the messages).
*/
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "scanner/internal.h"
#include "scanner/output.h"

int yywrap() { return 1; }

namespace {

std::vector<char> make_area(bool text, std::size_t size) {
  std::vector<char> area;
  area.reserve(size + 2);
  std::uint64_t x = 0x9E3779B97F4A7C15ull;
  static const char *words[] = {"the ", "of ", "and ", "Scanner ", "buffer, ", "A ", "2026 ", "is "};
  while (area.size() < size) {
    x ^= x >> 12, x ^= x << 25, x ^= x >> 27;
    const std::uint64_t r = x * 0x2545F4914F6CDD1Dull;
    if (text) {
      for (const char *w = words[r % 8]; *w && area.size() < size; ++w) area.push_back(*w);
    } else {
      const char c = static_cast<char>(r >> 56);
      area.push_back(c == '\n' ? 'n' : c);
    }
  }
  area.push_back('\0'); /* the two end-of-buffer markers */
  area.push_back('\0');
  return area;
}

void scan_area(benchmark::State &state, bool text) {
  const auto size = static_cast<std::size_t>(state.range(0));
  std::vector<char> area = make_area(text, size);
  for (auto _ : state) {
    yy_input_buffer *b = yy_scan_buffer(area.data(), static_cast<std::uint32_t>(area.size()));
    yylex();
    yy_delete_buffer(b);
  }
  const auto bytes = static_cast<double>(size);
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.counters["s_per_byte"] =
      benchmark::Counter(bytes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ScanRandomBytes(benchmark::State &state) { scan_area(state, false); }
void BM_ScanText(benchmark::State &state) { scan_area(state, true); }

BENCHMARK(BM_ScanRandomBytes)->Arg(1 << 20);
BENCHMARK(BM_ScanText)->Arg(1 << 20);

} // namespace

/* The messages go to /dev/null; the report goes where stdout went. */
int main(int argc, char **argv) {
  const int console = dup(1);
  if (console < 0 || !std::freopen("/dev/null", "w", stdout)) return 1;
  std::ofstream report("/dev/fd/" + std::to_string(console));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::ConsoleReporter reporter;
  reporter.SetOutputStream(&report);
  reporter.SetErrorStream(&report);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
