/*
** Platform calls of the scanner module: terminal test, reads, writes and the
** fatal exit. Nothing else in the module touches stdio or the system.
*/
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

#include "internal.h"

/*
** Standard output gets the batch after what the program wrote through stdio
** (the prompt, a yywrap that prints), so stdio's buffer goes first. With a
** file descriptor the batch then goes by write(2), which says exactly how
** much it took: a write that a signal interrupts part way goes on from
** there, where stdio, on such a failure, may already have dropped part of
** its buffer. A stream without a descriptor (a memory stream, a stream of
** custom functions) is written through stdio, the only way it has; so is
** whatever a real failure leaves, so that stdio meets the failure too and
** records it in the stream's error indicator, which the program checks.
*/
void yy_write_stdout(const char *data, std::size_t length) {
  const int fd = fileno(stdout);
  if (fd >= 0 && std::fflush(stdout) == 0) {
    while (length > 0) {
      const ssize_t n = write(fd, data, length);
      if (n > 0) {
        data += n;
        length -= static_cast<std::size_t>(n);
      } else if (n < 0 && errno != EINTR) {
        break;
      }
    }
  }
  if (length > 0) std::fwrite(data, 1, length, stdout);
}

/* The batch and then the C library's own buffer, out to standard output (a
   line-buffered terminal would keep a partial line). */
static void yy_output_show() {
  yy_output_flush();
  std::fflush(stdout);
}

[[noreturn]] void yy_fatal_error(const char *message) {
  yy_output_show(); /* what was written before stays written, before the message */
  std::fprintf(stderr, "%s\n", message);
  std::exit(2);
}

/* Runs only when an invariant is broken, in a build that checks them.
   GCOVR_EXCL_START */
void yy_check_failed(const char *condition, const char *file, int line) {
  std::fprintf(stderr, "scanner check failed: %s (%s:%d)\n", condition, file, line);
  std::abort();
}
/* GCOVR_EXCL_STOP */

bool yy_is_terminal(std::FILE *stream) { return isatty(fileno(stream)) > 0; }

bool yy_stdout_is_a_file() {
  struct stat st {};
  return fstat(fileno(stdout), &st) == 0 && (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode));
}

/*
** Before every read. A person at a terminal, on either side, must see what
** was written so far: the prompt and each line's messages before the
** program waits for the next line, or for the next block of a slow pipe
** when the output is a terminal; between files and pipes the batch just
** fills. And an end of file is not remembered: with the stream's end-of-file
** indicator set the C library would answer every later read without asking
** the system, so a terminal after ^D or a file that grew would never be
** read again. An error indicator the stream already has stays fatal.
*/
static void yy_before_read(std::FILE *stream, bool interactive) {
  static int stdout_is_terminal = -1; /* asked once */
  if (stdout_is_terminal < 0) stdout_is_terminal = yy_is_terminal(stdout);
  if (interactive || stdout_is_terminal) yy_output_show();
  if (std::ferror(stream)) yy_fatal_error("input in scanner failed");
  std::clearerr(stream);
}

/*
** The read stopped on the stream's error indicator. A signal that interrupted
** it (a handler installed without SA_RESTART) is no failure of the input:
** the indicator is cleared and the answer is true, read on. A real error is
** fatal at once when the read got nothing; else the indicator stays, so that
** the bytes got are classified and the next read reports it.
*/
static bool yy_interrupted(std::FILE *stream, std::size_t got) {
  if (errno == EINTR) {
    std::clearerr(stream);
    return true;
  }
  if (got == 0) yy_fatal_error("input in scanner failed");
  return false;
}

std::size_t yy_read_line(std::FILE *stream, char *dst, std::size_t room) {
  yy_before_read(stream, true);
  std::size_t n = 0;
  while (n < room) {
    errno = 0;
    const int c = std::getc(stream);
    if (c == EOF) {
      if (std::ferror(stream) && yy_interrupted(stream, n)) continue; /* the line goes on */
      break;
    }
    dst[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  return n;
}

std::size_t yy_read_block(std::FILE *stream, char *dst, std::size_t room) {
  yy_before_read(stream, false);
  for (;;) {
    errno = 0;
    const std::size_t n = std::fread(dst, 1, room, stream);
    /* Interrupted with bytes in hand: they are this read's result. */
    if (!std::ferror(stream) || !yy_interrupted(stream, n) || n > 0) return n;
  }
}

void yy_echo(const char *text, std::size_t length) {
  yy_output_flush(); /* the echo must come after what the rules wrote */
  std::fwrite(text, length, 1, yyout);
}
