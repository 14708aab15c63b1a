#include "run_program.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace run {
namespace {

long now_ms() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

void check(bool ok, const char *what) {
  if (!ok) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

void set_nonblocking(int fd) { check(fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) == 0, "fcntl"); }

/* A terminal that passes every byte through unchanged, in both directions,
   but still hands over input a line at a time when canonical. */
termios plain_terminal(bool canonical) {
  termios t{};
  t.c_iflag = 0;                     /* no CR/NL mapping, no flow control */
  t.c_oflag = 0;                     /* output bytes as written */
  t.c_cflag = CS8 | CREAD | CLOCAL;
  t.c_lflag = canonical ? ICANON : 0; /* no echo, no signals, no extensions */
  for (cc_t &c : t.c_cc) c = _POSIX_VDISABLE;
  t.c_cc[VEOF] = 4; /* ^D ends the input */
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, B38400);
  cfsetospeed(&t, B38400);
  return t;
}

/* A pseudo-terminal with that discipline: its master and slave sides. */
void open_terminal(bool canonical, int &master, int &slave) {
  termios t = plain_terminal(canonical);
  winsize ws{24, 80, 0, 0};
  check(openpty(&master, &slave, nullptr, &t, &ws) == 0, "openpty");
  fcntl(master, F_SETFD, FD_CLOEXEC);
}

} // namespace

Session::Session(const Options &options) : options_(options) {
  std::signal(SIGPIPE, SIG_IGN); /* a program that quit must not kill the test */

  int child_in = -1, child_out = -1, child_err = -1, term = -1;
  int p[2];
  check(pipe2(p, O_CLOEXEC) == 0, "pipe");
  err_fd_ = p[0];
  child_err = p[1];

  if (options.in == In::terminal) {
    int master = -1, slave = -1;
    open_terminal(options.canonical, master, slave);
    in_fd_ = master;
    term = child_in = slave;
  } else if (options.in == In::pipe) {
    check(pipe2(p, O_CLOEXEC) == 0, "pipe");
    child_in = p[0];
    in_fd_ = p[1];
  } else if (options.in == In::file) {
    char path[] = "/tmp/classify-input-XXXXXX";
    child_in = mkstemp(path);
    check(child_in >= 0, "mkstemp");
    unlink(path);
    for (std::size_t done = 0; done < options.file.size();) {
      const ssize_t n = write(child_in, options.file.data() + done, options.file.size() - done);
      check(n > 0, "write");
      done += static_cast<std::size_t>(n);
    }
    if (options.file_size > options.file.size())
      check(ftruncate(child_in, static_cast<off_t>(options.file_size)) == 0, "ftruncate");
    lseek(child_in, 0, SEEK_SET);
  } else if (options.in == In::directory) {
    child_in = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(child_in >= 0, "open /");
  }

  if (options.out == Out::terminal && term >= 0) {
    child_out = term;
    out_fd_ = in_fd_;
  } else if (options.out == Out::terminal) { /* a terminal for the output alone */
    open_terminal(true, out_fd_, child_out);
  } else if (options.out == Out::file) {
    char path[] = "/tmp/classify-output-XXXXXX";
    child_out = mkstemp(path);
    check(child_out >= 0, "mkstemp");
    unlink(path);
    out_file_ = dup(child_out);
  } else if (options.out == Out::pipe) {
    check(pipe2(p, O_CLOEXEC) == 0, "pipe");
    out_fd_ = p[0];
    child_out = p[1];
    if (options.pipe_size) check(fcntl(child_out, F_SETPIPE_SZ, options.pipe_size) >= 0, "F_SETPIPE_SZ");
  } else if (options.out == Out::full || options.out == Out::null) {
    child_out = open(options.out == Out::full ? "/dev/full" : "/dev/null", O_WRONLY | O_CLOEXEC);
    check(child_out >= 0, "open /dev/full or /dev/null");
  }

  std::vector<std::string> command = options.command;
  if (command.empty()) command.push_back(program_path());
  std::vector<char *> argv;
  for (std::string &arg : command) argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_ = fork();
  check(pid_ >= 0, "fork");
  if (pid_ == 0) {
    if (term >= 0) {
      setsid();
      ioctl(term, TIOCSCTTY, 0);
    }
    /* dup2 clears close-on-exec on the copies; everything else closes. */
    if (child_in >= 0) dup2(child_in, 0);
    if (child_out >= 0) dup2(child_out, 1);
    dup2(child_err, 2);
    if (child_in < 0) close(0);
    if (child_out < 0) close(1);
    std::signal(SIGPIPE, SIG_DFL);
    if (options.ignore_hangup) std::signal(SIGHUP, SIG_IGN);
    if (options.output_limit) { /* writes past it fail with EFBIG, not a signal */
      const rlimit limit{options.output_limit, options.output_limit};
      setrlimit(RLIMIT_FSIZE, &limit);
      std::signal(SIGXFSZ, SIG_IGN);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }

  /* The parent keeps only its own ends. */
  if (child_in >= 0) close(child_in);
  if (child_out >= 0 && child_out != child_in) close(child_out);
  close(child_err);
  for (int fd : {in_fd_, out_fd_, err_fd_})
    if (fd >= 0) set_nonblocking(fd);
}

Session::~Session() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (out_fd_ == in_fd_) out_fd_ = -1;
  for (int fd : {in_fd_, out_fd_, err_fd_, out_file_})
    if (fd >= 0) close(fd);
}

void Session::send(std::string_view bytes) {
  pending_.append(bytes);
  pump(0);
}

void Session::close_input() {
  if (options_.in == In::pipe && in_fd_ >= 0) {
    close(in_fd_);
    in_fd_ = -1;
  }
}

void Session::close_output() {
  if (out_fd_ >= 0 && out_fd_ != in_fd_) close(out_fd_);
  out_fd_ = -1;
}

void Session::hang_up() {
  if (options_.in != In::terminal) return;
  close(in_fd_);
  if (out_fd_ == in_fd_) out_fd_ = -1;
  in_fd_ = -1;
  pending_.clear();
}

bool Session::pump(int timeout_ms) {
  pollfd fds[3];
  nfds_t n = 0;
  const bool shared = in_fd_ >= 0 && in_fd_ == out_fd_;
  if (in_fd_ >= 0 && (!pending_.empty() || shared))
    fds[n++] = {in_fd_, static_cast<short>((pending_.empty() ? 0 : POLLOUT) | (shared ? POLLIN : 0)), 0};
  if (out_fd_ >= 0 && !shared) fds[n++] = {out_fd_, POLLIN, 0};
  if (err_fd_ >= 0) fds[n++] = {err_fd_, POLLIN, 0};
  if (n == 0) return false;
  if (poll(fds, n, timeout_ms) <= 0) return true;

  for (nfds_t i = 0; i < n; ++i) {
    const int fd = fds[i].fd;
    if (fds[i].revents & POLLOUT) {
      const ssize_t w = write(fd, pending_.data(), pending_.size());
      if (w > 0) pending_.erase(0, static_cast<std::size_t>(w));
      else if (errno != EAGAIN) pending_.clear(); /* the program stopped reading */
    }
    if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
      if (fd == out_fd_ && options_.read_pause_ms) usleep(static_cast<useconds_t>(options_.read_pause_ms) * 1000);
      char buf[65536];
      const ssize_t r = read(fd, buf, sizeof buf);
      if (r > 0) {
        (fd == err_fd_ ? result_.err : result_.out).append(buf, static_cast<std::size_t>(r));
      } else if (r == 0 || errno != EAGAIN) { /* end of file, or EIO once the terminal is gone */
        close(fd);
        if (fd == err_fd_) err_fd_ = -1;
        if (fd == out_fd_) out_fd_ = -1;
        if (fd == in_fd_) in_fd_ = -1;
      }
    }
  }
  return true;
}

void Session::pause(int ms) {
  for (const long end = now_ms() + ms; now_ms() < end;)
    if (!pump(static_cast<int>(std::max(end - now_ms(), 0L)))) break;
}

bool Session::wait_blocked_in_read(int timeout_ms) {
  const long deadline = now_ms() + timeout_ms;
  const std::string path = "/proc/" + std::to_string(pid_) + "/syscall";
  while (now_ms() < deadline) {
    /* The first field is the number of the system call it sleeps in. */
    if (std::FILE *f = std::fopen(path.c_str(), "r")) {
      long number = -1;
      const bool got = std::fscanf(f, "%ld", &number) == 1;
      std::fclose(f);
      if (got && number == SYS_read) return true;
    }
    pump(10);
  }
  return false;
}

bool Session::read_until(std::string_view needle, int timeout_ms) {
  const long deadline = now_ms() + timeout_ms;
  while (result_.out.find(needle) == std::string::npos) {
    const long left = deadline - now_ms();
    if (left <= 0 || !pump(static_cast<int>(std::min(left, 100L)))) return false;
  }
  return true;
}

Result Session::finish(int timeout_ms) {
  const long deadline = now_ms() + timeout_ms;
  /* A pipe closes once its input is all written; a terminal stays open. */
  while (!pending_.empty() && now_ms() < deadline && pump(100)) {}
  close_input();
  while (now_ms() < deadline && pump(100)) {}
  if (err_fd_ >= 0 || out_fd_ >= 0 || now_ms() >= deadline) {
    result_.timed_out = waitpid(pid_, nullptr, WNOHANG) == 0;
    if (result_.timed_out) kill(pid_, SIGKILL);
  }
  int status = 0;
  rusage usage{};
  wait4(pid_, &status, 0, &usage);
  pid_ = -1;
  result_.max_rss_kib = usage.ru_maxrss;
  if (out_file_ >= 0) {
    char buf[65536];
    for (off_t at = 0;;) {
      const ssize_t n = pread(out_file_, buf, sizeof buf, at);
      if (n <= 0) break;
      result_.out.append(buf, static_cast<std::size_t>(n));
      at += n;
    }
  }
  if (WIFEXITED(status)) result_.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result_.signal = WTERMSIG(status);
  return result_;
}

const char *program_path() { return CLASSIFY_PATH; }
const char *ticking_program_path() { return CLASSIFY_TICKING_PATH; }
const char *stdio_around_scan_path() { return STDIO_AROUND_SCAN_PATH; }

Result run_classify(In in, std::string_view input, Out out) {
  Options options;
  options.in = in;
  options.out = out;
  if (in == In::file) options.file = std::string(input);
  Session session(options);
  if (in == In::pipe || in == In::terminal) session.send(input);
  return session.finish();
}

} // namespace run
