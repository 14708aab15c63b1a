/*
** A program that links the scanner and writes through stdio before and
** after a scan, beside a timer whose signal interrupts its blocked writes
** (ticker.cpp). With the argument "fill" it first fills standard output
** with 256 KiB of dots by write(2), so that a slow reader keeps every later
** write waiting. Then "HELLO" through stdio, 400 letters scanned from
** memory, and "BYE" once the timer is stopped (the last flush is the
** program's own, and glibc cannot resume it). Exits 3 when stdout's error
** indicator is set as yylex returns, before anything else flushes. With
** "stuck", every write(2) to standard output returns 0 (the link wraps
** write): a device that takes nothing, which must fail, not loop. With
** "once", only the first does: stdio's bytes fail, the batch goes through.
** With "quiet", no HELLO: the batch is the only write, so that its own
** failure must set the indicator. On Windows there is no timer, no wrapped
** write and no "fill".
*/
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#if !defined(_WIN32)
#include <sys/time.h>
#include <unistd.h>
#endif

#include "scanner/scanner.h"

int yywrap() { return 1; }

#if !defined(_WIN32)
namespace {
long writes_taking_nothing = 0; /* to standard output, from the start; -1: all */
}

extern "C" ssize_t __real_write(int fd, const void *data, std::size_t length);
extern "C" ssize_t __wrap_write(int fd, const void *data, std::size_t length);
extern "C" ssize_t __wrap_write(int fd, const void *data, std::size_t length) {
  if (fd != 1 || writes_taking_nothing == 0) return __real_write(fd, data, length);
  if (writes_taking_nothing > 0) --writes_taking_nothing;
  return 0;
}
#endif

int main(int argc, char **argv) {
#if !defined(_WIN32)
  if (argc > 1 && std::strcmp(argv[1], "stuck") == 0) writes_taking_nothing = -1;
  if (argc > 1 && std::strcmp(argv[1], "once") == 0) writes_taking_nothing = 1;
  if (argc > 1 && std::strcmp(argv[1], "fill") == 0) {
    const std::string dots(256 << 10, '.');
    for (std::size_t done = 0; done < dots.size();) {
      const ssize_t n = write(1, dots.data() + done, dots.size() - done);
      if (n > 0) done += static_cast<std::size_t>(n);
      else if (errno != EINTR) return 4;
    }
  }
#endif
  if (argc < 2 || std::strcmp(argv[1], "quiet") != 0) std::printf("HELLO");
  const std::string letters(400, 'a');
  yy_scan_string(letters.c_str());
  yylex();
  if (std::ferror(stdout)) {
    std::fputs("the error indicator is set\n", stderr);
    return 3;
  }
#if !defined(_WIN32)
  const itimerval off{};
  setitimer(ITIMER_REAL, &off, nullptr);
#endif
  std::printf("BYE");
  return std::fflush(stdout) == 0 ? 0 : 2;
}
