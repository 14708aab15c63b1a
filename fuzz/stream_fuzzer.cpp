/*
** Stream differential: whatever the input, the buffer size and the pattern
** of reads, the rule actions must see exactly one token per byte, each with
** the rule a byte-by-byte model gives it, and the scanner must end in the
** state of an emptied buffer, with no memory left behind.
**
** Input: byte 0 picks the buffer capacity (tiny ones mostly, so that carry,
** growth and NUL-at-the-boundary paths run), byte 1 the read pattern (line
** or block refills; a stream that hands out 1..15 bytes a call, or all it
** has; buffered or not; which of rules 1 and 2 are light), the rest is the
** text.
*/
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "fuzz_target.h"
#include "probe.h"

namespace {

/* A stream whose reads return at most `chunk` bytes (0: no limit). */
struct ChunkedSource {
  std::string_view rest;
  std::size_t chunk;
};

ssize_t chunked_read(void *cookie, char *buf, std::size_t size) {
  auto *src = static_cast<ChunkedSource *>(cookie);
  std::size_t n = std::min(size, src->rest.size());
  if (src->chunk) n = std::min(n, src->chunk);
  std::memcpy(buf, src->rest.data(), n);
  src->rest.remove_prefix(n);
  return static_cast<ssize_t>(n);
}

[[noreturn]] void fail(const char *what) {
  std::fprintf(stderr, "stream_fuzzer: %s\n", what);
  std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  /* 40 KiB keeps growth past the default 16384 within reach, and runs fast. */
  if (size < 2 || size > 40 << 10) return 0;
  static constexpr std::int32_t larger[] = {64, 255, 256, 4096, 8191, 8192, 8193, 16384};
  const std::int32_t capacity = data[0] < 192 ? 1 + data[0] % 48 : larger[data[0] % 8];
  const std::uint8_t pattern = data[1];
  const std::string_view text(reinterpret_cast<const char *>(data + 2), size - 2);

  probe::reset();
  probe::light = pattern >> 6; /* which of rules 1 and 2 are light */
  ChunkedSource source{text, static_cast<std::size_t>((pattern >> 1) & 15)};
  std::FILE *f = fopencookie(&source, "r", {chunked_read, nullptr, nullptr, nullptr});
  if (!f) return 0;
  if (pattern & 0x20) std::setvbuf(f, nullptr, _IONBF, 0);

  yy_input_buffer *b = yy_create_buffer(f, capacity);
  yy_switch_to_buffer(b);
  b->interactive = pattern & 1; /* line refills, as from a terminal */

  for (std::size_t calls = 0; probe::wrap_calls == 0; ++calls) {
    if (calls > text.size() + 1) fail("yylex did not reach the end of the input");
    if (yylex() != 0) fail("yylex returned nonzero");
  }

  const std::string differs = probe::tokens_differ(text);
  if (!differs.empty()) fail(differs.c_str());
  if (probe::wrap_calls != 1) fail("yywrap called more than once");
  /* The end of input emptied the buffer and reloaded the state from it. */
  const std::string state = probe::not_emptied(b, f);
  if (!state.empty()) fail(state.c_str());

  probe::reset();
  std::fclose(f);
  if (probe::live_blocks != 0) fail("memory left behind");
  return 0;
}
