/*
** Platform calls of the scanner module: terminal test, reads, writes and the
** fatal exit. Nothing else in the module touches stdio or the system.
*/
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include "internal.h"
#include "output.h"

char yy_out_buf[yy_out_capacity];
char *yy_out_pos = yy_out_buf;

void yy_output_flush() {
  const auto length = static_cast<std::size_t>(yy_out_pos - yy_out_buf);
  yy_out_pos = yy_out_buf;
  /* A failed write sets stdout's error indicator, which the program checks
     before it exits; scanning goes on meanwhile. */
  if (length) std::fwrite(yy_out_buf, 1, length, stdout);
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

/*
** Before every read. A person at a terminal, on either side, must see what
** was written so far: the prompt and each line's messages before the
** program waits for the next line, or for the next block of a slow pipe
** when the output is a terminal; between files and pipes the batch just
** fills. And an end of file is not remembered: with the stream's end-of-file
** indicator set the C library would answer every later read without asking
** the system, so a terminal after ^D or a file that grew would never be
** read again. An error indicator stays, and stays fatal.
*/
static void yy_before_read(std::FILE *stream, bool interactive) {
  static int stdout_is_terminal = -1; /* asked once */
  if (stdout_is_terminal < 0) stdout_is_terminal = yy_is_terminal(stdout);
  if (interactive || stdout_is_terminal) yy_output_show();
  if (std::feof(stream) && !std::ferror(stream)) std::clearerr(stream);
}

std::size_t yy_read_line(std::FILE *stream, char *dst, std::size_t room) {
  yy_before_read(stream, true);
  std::size_t n = 0;
  int c = 0;
  while (n < room && (c = std::getc(stream)) != EOF) {
    dst[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  if (c == EOF && std::ferror(stream)) yy_fatal_error("input in scanner failed");
  return n;
}

std::size_t yy_read_block(std::FILE *stream, char *dst, std::size_t room) {
  yy_before_read(stream, false);
  const std::size_t n = std::fread(dst, 1, room, stream);
  if (n == 0 && std::ferror(stream)) yy_fatal_error("input in scanner failed");
  return n;
}

void yy_echo(const char *text, std::size_t length) {
  yy_output_flush(); /* the echo must come after what the rules wrote */
  std::fwrite(text, length, 1, yyout);
}
