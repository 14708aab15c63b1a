/*
** Platform calls of the scanner module: terminal test, reads, writes and the
** fatal exit. Nothing else in the module touches stdio or the system.
*/
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <stdio_ext.h>
#endif

#include "internal.h"

/*
** The system's descriptor calls, by the names each platform gives them. On
** Windows they are the C runtime's, which keeps the descriptors in text mode:
** its reads turn CR LF into LF and end at a Ctrl-Z, its writes turn each LF
** into CR LF and count the bytes taken from the caller's buffer.
*/
#if defined(_WIN32)
static int yy_fileno(std::FILE *stream) { return _fileno(stream); }
static bool yy_isatty(int fd) { return _isatty(fd) > 0; }
/* A count is an unsigned int there: larger writes go a gigabyte at a time. */
static long long yy_write(int fd, const char *data, std::size_t length) {
  constexpr std::size_t most = std::size_t{1} << 30;
  return _write(fd, data, static_cast<unsigned>(length < most ? length : most));
}
static bool yy_is_a_file(int fd) {
  struct _stat64 st {};
  return _fstat64(fd, &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
}
#else
static int yy_fileno(std::FILE *stream) { return fileno(stream); }
static bool yy_isatty(int fd) { return isatty(fd) > 0; }
static long long yy_write(int fd, const char *data, std::size_t length) { return write(fd, data, length); }
static bool yy_is_a_file(int fd) {
  struct stat st {};
  return fstat(fd, &st) == 0 && (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode));
}
#endif

/*
** Write all of data to fd, going on after partial writes and after writes a
** signal interrupted (a handler installed without SA_RESTART). Returns how
** many bytes were not written: nonzero only after a real failure, or after a
** write that took nothing, which repeated would never end.
*/
static std::size_t yy_write_all(int fd, const char *data, std::size_t length) {
  while (length > 0) {
    const long long n = yy_write(fd, data, length);
    if (n > 0) {
      data += n;
      length -= static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  return length;
}

#if defined(__GLIBC__)
/*
** What stdio holds for standard output (the prompt, what a yywrap printed)
** must go out before the batch. glibc's own flush cannot be resumed: when a
** signal interrupts the write under it, it drops its buffer. But glibc shows
** what it holds, __fpending bytes from _IO_write_base, so the scanner writes
** them itself with the loop above and then empties stdio's buffer. True when
** all were written; after a failure they are dropped, as glibc would. A
** wide-oriented stream holds characters, not bytes: its own flush it is.
*/
static bool yy_write_stdio_pending(std::FILE *out, int fd) {
  if (std::fwide(out, 0) > 0) return std::fflush(out) == 0;
  const std::size_t pending = __fpending(out);
  const bool written = pending == 0 || yy_write_all(fd, out->_IO_write_base, pending) == 0;
  __fpurge(out);
  return written;
}

/* A failed write sets the stream's error indicator, as stdio's own does. */
static void yy_record_write_failure(std::FILE *out, const char *, std::size_t) { out->_flags |= _IO_ERR_SEEN; }
#else
/* Elsewhere stdio's buffer is stdio's to write: a signal that interrupts
   this flush may cost its bytes, but the failure is recorded. */
static bool yy_write_stdio_pending(std::FILE *out, int) { return std::fflush(out) == 0; }

/* The unwritten rest goes through stdio, which meets the failure too and
   records it in the stream's error indicator. */
static void yy_record_write_failure(std::FILE *out, const char *rest, std::size_t length) {
  if (length > 0) std::fwrite(rest, 1, length, out);
  std::fflush(out);
}
#endif

/*
** Standard output gets the batch after what the program wrote through stdio,
** so stdio's pending bytes go first. With a file descriptor both go by its
** own write, which says exactly how much it took, so that a write a signal
** interrupts goes on from there; a failure of either sets stdout's error
** indicator before this returns, and the batch is written even when stdio's
** bytes could not be. A stream without a descriptor (a memory stream, a
** stream of custom functions) is written and flushed through stdio, the
** only way it has, and stdio records its failures. Data may be null when
** length is 0: then only stdio's pending bytes go out.
*/
void yy_write_stdout(const char *data, std::size_t length) {
  const int fd = yy_fileno(stdout);
  if (fd < 0) {
    if (length > 0) std::fwrite(data, 1, length, stdout);
    std::fflush(stdout);
    return;
  }
  const bool pending_written = yy_write_stdio_pending(stdout, fd);
  const std::size_t unwritten = yy_write_all(fd, data, length);
  if (!pending_written || unwritten > 0) yy_record_write_failure(stdout, data + (length - unwritten), unwritten);
}

/* The batch and then whatever stdio holds, out to standard output (a
   line-buffered terminal would keep a partial line). */
static void yy_output_show() {
  yy_output_flush();
  yy_write_stdout(nullptr, 0);
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

bool yy_is_terminal(std::FILE *stream) { return yy_isatty(yy_fileno(stream)); }

bool yy_stdout_is_a_file() { return yy_is_a_file(yy_fileno(stdout)); }

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
  if (interactive || yy_out_to_terminal) yy_output_show();
  if (std::ferror(stream)) yy_fatal_error("input in scanner failed");
  std::clearerr(stream);
}

/*
** The read stopped on the stream's error indicator, having got some bytes.
** A signal that interrupted it (a handler installed without SA_RESTART) is
** no failure of the input: the indicator is cleared, and the caller reads
** on. A real error is fatal at once when the read got nothing; with bytes in
** hand the indicator stays, the bytes are classified, and the next read
** reports it.
*/
static void yy_read_stopped(std::FILE *stream, std::size_t got) {
  if (errno == EINTR) {
    std::clearerr(stream);
    return;
  }
  if (got == 0) yy_fatal_error("input in scanner failed");
}

std::size_t yy_read_line(std::FILE *stream, char *dst, std::size_t room) {
  yy_before_read(stream, true);
  std::size_t n = 0;
  while (n < room) {
    errno = 0;
    const int c = std::getc(stream);
    if (c == EOF) {
      if (!std::ferror(stream)) break; /* the end of the file */
      yy_read_stopped(stream, n);
      if (std::ferror(stream)) break; /* a real error: the bytes got go first */
      continue;                       /* interrupted: the line goes on */
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
    if (!std::ferror(stream)) return n; /* the bytes, or the end of the file */
    yy_read_stopped(stream, n);
    if (n > 0) return n; /* interrupted or failed, the bytes in hand are this read's */
  }
}

void yy_echo(const char *text, std::size_t length) {
  yy_output_flush(); /* the echo must come after what the rules wrote */
  std::fwrite(text, length, 1, yyout);
}
