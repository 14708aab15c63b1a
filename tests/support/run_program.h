/*
** Runs a program (classify by default) the way a user would: standard input
** from a pipe, a regular file or a pseudo-terminal (or broken on purpose),
** standard output to a pipe, the same terminal, or a broken destination.
** On Windows there are no pseudo-terminals and no signals: pipes, files and
** the broken streams, with the program's own path and arguments.
*/
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace run {

enum class In { pipe, file, terminal, directory, closed };
enum class Out { pipe, terminal, closed, full, null, file };

struct Options {
  Options(In in_ = In::pipe, Out out_ = Out::pipe) : in(in_), out(out_) {}
  In in = In::pipe;
  Out out = Out::pipe;      /* Out::terminal: the input's terminal, or one of its own */
  std::string file;         /* contents of the file for In::file... */
  std::size_t file_size = 0; /* ...extended with NUL bytes to this size */
  bool canonical = true;    /* terminal line discipline: a line per read */
  bool ignore_hangup = false; /* start with SIGHUP ignored, as nohup does */
  std::size_t output_limit = 0; /* Out::file: the largest file it may write (0: none) */
  int read_pause_ms = 0;    /* a slow reader: the pause before each read of the output */
  int pipe_size = 0;        /* Out::pipe: its capacity, at least a page (0: the system's) */
  std::vector<std::string> command; /* empty: the classify program */
};

struct Result {
  std::string out, err;
  int status = -1;          /* exit status, or -1 */
  int signal = 0;           /* the signal that ended it, or 0 */
  bool timed_out = false;   /* the helper had to kill it */
  long max_rss_kib = 0;     /* its peak resident memory */
};

class Session {
public:
  explicit Session(const Options &options);
  ~Session();
  Session(const Session &) = delete;
  Session &operator=(const Session &) = delete;

  /* Queue bytes for the program's standard input; they go as it reads. */
  void send(std::string_view bytes);
  /* Go on passing input and output for a while (a slow typist's pause). */
  void pause(int ms);
  /* Wait until the output so far contains needle; false on timeout or end. */
  bool read_until(std::string_view needle, int timeout_ms = 20000);
  /* Stop reading the program's output (a reader that goes away early). */
  void close_output();
#if !defined(_WIN32)
  /* Wait until the program sleeps in a read system call; false on timeout. */
  bool wait_blocked_in_read(int timeout_ms = 20000);
  /* Close the terminal's master side: the program's terminal hangs up. */
  void hang_up();
#endif
  /* Close the input (a pipe's write end), drain the output, wait for exit. */
  Result finish(int timeout_ms = 120000);

  const std::string &out() const { return result_.out; }

private:
  bool pump(int timeout_ms); /* one round of I/O; false once nothing can happen */
  void close_input();

  Options options_;
  std::string pending_;
  Result result_;
#if defined(_WIN32)
  struct Process; /* the program, its pipes, and the thread that feeds its input */
  std::unique_ptr<Process> process_;
#else
  pid_t pid_ = -1;
  int in_fd_ = -1, out_fd_ = -1, err_fd_ = -1; /* terminal: in_fd_ == out_fd_ */
  int out_file_ = -1;                         /* Out::file, read back at the end */
#endif
};

/* Start the program, give it input, and collect what it did. With a terminal
   the input goes in as typed; append "\x04" (end of file) where needed. */
Result run_classify(In in, std::string_view input, Out out = Out::pipe);

/* Where the classify program is; the build of it whose reads and writes a
   timer's signal interrupts every millisecond; and a program with the same
   timer that writes through stdio around a scan (tests/support). */
const char *program_path();
const char *stdio_around_scan_path();
#if !defined(_WIN32)
const char *ticking_program_path();
#endif


} // namespace run
