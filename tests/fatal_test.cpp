/*
** Every fatal path a caller can reach: one line on standard error, exit 2.
** Each case runs in a child process (a death test).
*/
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "scanner_fixture.h"

using namespace std::string_literals;

namespace {

class ScannerDeathTest : public ScannerTest {
public:
  static void scan_stream(std::FILE *f, std::int32_t capacity, bool interactive = false) {
    use_stream(f, capacity, interactive);
    yylex();
  }
};

/* A memory buffer of capacity 0 made refillable: growth would need realloc. */
void refill_borrowed_area() {
  static char area[2] = {0, 0};
  yy_scan_buffer(area, 2);
  yyrestart(test::temporary_file());
  std::fputc('a', yyin);
  std::rewind(yyin);
  yylex();
}

/* The same with room in the area: a carried NUL fills it, and growing it
   would reallocate memory the scanner does not own. */
void refill_borrowed_area_with_room() {
  static char area[4] = {0, 0, 0, 0};
  yy_scan_buffer(area, 4);
  std::FILE *f = test::temporary_file();
  std::fwrite("a\0b", 1, 3, f);
  std::rewind(f);
  yyrestart(f);
  yylex();
}

/* A NUL carried into a full buffer whose reallocation fails. */
void fail_growth() {
  std::FILE *f = test::temporary_file();
  std::fwrite("a\0b", 1, 3, f);
  std::rewind(f);
  yy_switch_to_buffer(yy_create_buffer(f, 2));
  probe::allocations_before_failure = 0;
  yylex();
}

/* Position the scan beyond the second marker and ask for a refill. */
void miss_end_of_buffer() {
  yyrestart(test::temporary_file());
  yy_c_buf_p = yy_current_buffer->chars + yy_n_chars + 2;
  yy_get_next_buffer();
}

TEST_F(ScannerDeathTest, ABufferThatCannotGrowIsAnOverflow) {
  /* A borrowed array may not be reallocated, even from capacity 0. */
  EXPECT_EXIT(refill_borrowed_area(), exit2, "^fatal error - scanner input buffer overflow\n$");
  EXPECT_EXIT(refill_borrowed_area_with_room(), exit2, "^fatal error - scanner input buffer overflow\n$");
  /* The reallocation itself fails. */
  EXPECT_EXIT(fail_growth(), exit2, "^fatal error - scanner input buffer overflow\n$");
}

TEST_F(ScannerDeathTest, NoMemoryForAStreamBuffer) {
  const char *message = "^out of dynamic memory in yy_create_buffer\\(\\)\n$";
  EXPECT_EXIT((probe::allocations_before_failure = 0, yy_create_buffer(nullptr, 16)), exit2, message);
  EXPECT_EXIT((probe::allocations_before_failure = 1, yy_create_buffer(nullptr, 16)), exit2, message);
  /* The very first yylex creates one too. */
  EXPECT_EXIT((probe::allocations_before_failure = 0, yyin = file_with("a"), yylex()), exit2, message);
  /* A negative size would wrap capacity + 2 to a two-byte array. */
  EXPECT_EXIT(yy_create_buffer(nullptr, -1), exit2, message);
}

/* A stream whose reads fail with an error, not with the end of file: a
   directory, or on Windows (which opens no directory as a stream) the write
   end of a pipe. */
std::FILE *unreadable() {
#if defined(_WIN32)
  int p[2];
  return _pipe(p, 4096, _O_BINARY) == 0 ? _fdopen(p[1], "r") : nullptr;
#else
  return std::fopen("/", "r");
#endif
}

TEST_F(ScannerDeathTest, AReadErrorIsReportedByLinesAndByBlocks) {
  EXPECT_EXIT(scan_stream(unreadable(), 64), exit2, "^input in scanner failed\n$");
  EXPECT_EXIT(scan_stream(unreadable(), 64, true), exit2, "^input in scanner failed\n$");
}

#if defined(__GLIBC__) /* a stream of custom functions (fopencookie) */
/* A stream whose error indicator is already set when the scanner gets it
   (here with its end-of-file indicator too): forgetting the end of file
   must not forget the error. */
ssize_t fail_once(void *cookie, char *, std::size_t) {
  if ((*static_cast<int *>(cookie))++ == 0) {
    errno = EIO;
    return -1;
  }
  return 0;
}

void scan_stream_in_error(bool interactive) {
  static int calls = 0;
  std::FILE *f = fopencookie(&calls, "r", {fail_once, nullptr, nullptr, nullptr});
  std::fgetc(f); /* the read error */
  std::fgetc(f); /* then the end of file */
  if (!std::ferror(f) || !std::feof(f)) std::exit(3);
  ScannerDeathTest::scan_stream(f, 64, interactive);
}

TEST_F(ScannerDeathTest, AnErrorTheStreamAlreadyHadStaysFatal) {
  EXPECT_EXIT(scan_stream_in_error(false), exit2, "^input in scanner failed\n$");
  EXPECT_EXIT(scan_stream_in_error(true), exit2, "^input in scanner failed\n$");
}
#endif

TEST_F(ScannerDeathTest, ARefillPastTheSecondMarkerIsAnInternalError) {
  EXPECT_EXIT(miss_end_of_buffer(), exit2, "^fatal scanner internal error--end of buffer missed\n$");
}

TEST_F(ScannerDeathTest, MemoryScanningRefusesSizesThatWouldWrap) {
  const char *bad = "^bad buffer in yy_scan_bytes\\(\\)\n$";
  char byte = 'x';
  EXPECT_EXIT(yy_scan_bytes(&byte, -1), exit2, bad);
  /* count + 2 would not fit: refused before anything is read or allocated. */
  EXPECT_EXIT(yy_scan_bytes(&byte, INT32_MAX - 1), exit2, bad);
  EXPECT_EXIT(yy_scan_bytes(&byte, INT32_MAX), exit2, bad);
}

TEST_F(ScannerDeathTest, NoMemoryForAMemoryBuffer) {
  char area[3] = {'a', 0, 0};
  EXPECT_EXIT((probe::allocations_before_failure = 0, yy_scan_buffer(area, 3)), exit2,
              "^out of dynamic memory in yy_scan_buffer\\(\\)\n$");
  EXPECT_EXIT((probe::allocations_before_failure = 0, yy_scan_string("abc")), exit2,
              "^out of dynamic memory in yy_scan_bytes\\(\\)\n$");
  EXPECT_EXIT((probe::allocations_before_failure = 1, yy_scan_bytes("abc", 3)), exit2,
              "^out of dynamic memory in yy_scan_buffer\\(\\)\n$");
}

} // namespace
