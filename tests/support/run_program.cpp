#include "run_program.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#if defined(_WIN32)
#include <condition_variable>
#include <mutex>
#include <thread>
#include <windows.h>
#else
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace run {
namespace {

long now_ms() {
  using namespace std::chrono;
  return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

void Session::pause(int ms) {
  for (const long end = now_ms() + ms; now_ms() < end;)
    if (!pump(static_cast<int>(std::max(end - now_ms(), 0L)))) break;
}

bool Session::read_until(std::string_view needle, int timeout_ms) {
  const long deadline = now_ms() + timeout_ms;
  while (result_.out.find(needle) == std::string::npos) {
    const long left = deadline - now_ms();
    if (left <= 0 || !pump(static_cast<int>(std::min(left, 100L)))) return false;
  }
  return true;
}

Result run_classify(In in, std::string_view input, Out out) {
  Options options;
  options.in = in;
  options.out = out;
  if (in == In::file) options.file = std::string(input);
  Session session(options);
  if (in == In::pipe || in == In::terminal) session.send(input);
  return session.finish();
}

#if !defined(_WIN32)
namespace {

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

#else /* Windows */
/*
** Windows: the program is started with CreateProcess and handles of its own
** for standard input, output and error. A thread feeds its input, so that a
** program that writes while it reads never waits on the test; its output and
** error are pipes read as they fill, by peeking, so that a reader that goes
** away is a handle closed between two reads.
*/
namespace {

void check(bool ok, const char *what) {
  if (!ok) throw std::runtime_error(std::string(what) + ": error " + std::to_string(GetLastError()));
}

HANDLE inheritable(HANDLE h) {
  check(SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT) != 0, "SetHandleInformation");
  return h;
}

/* A pipe whose ends the caller does not let the program inherit. */
void make_pipe(HANDLE &read_end, HANDLE &write_end) {
  check(CreatePipe(&read_end, &write_end, nullptr, 1 << 16) != 0, "CreatePipe");
}

/* A file that goes away when its last handle closes. */
HANDLE temporary_file(const char *prefix) {
  char folder[MAX_PATH], path[MAX_PATH];
  check(GetTempPathA(MAX_PATH, folder) != 0 && GetTempFileNameA(folder, prefix, 0, path) != 0, "GetTempFileName");
  const HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  check(h != INVALID_HANDLE_VALUE, "CreateFile");
  return h;
}

/* False when a write fails (a pipe whose program stopped reading). */
bool write_all(HANDLE h, const std::string &bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    DWORD n = 0;
    if (!WriteFile(h, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n, nullptr)) return false;
    done += n;
  }
  return true;
}

/* One argument for the C runtime's command-line parser: quoted, with the
   backslashes before a quote doubled. */
std::string quoted(const std::string &arg) {
  std::string q = "\"";
  std::size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
    } else {
      q.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
      slashes = 0;
    }
    q += c;
  }
  q.append(slashes, '\\');
  q += '"';
  return q;
}

} // namespace

struct Session::Process {
  PROCESS_INFORMATION info{};
  HANDLE out = nullptr, err = nullptr; /* the read ends of its output and error pipes */
  HANDLE out_file = nullptr;           /* Out::file, read back at the end */

  /* The input pipe's write end belongs to the feeding thread. */
  HANDLE in = nullptr;
  std::mutex lock;
  std::condition_variable changed;
  std::string queued;
  bool closing = false; /* close the input once the queue is written */
  std::thread feeder;

  void feed() {
    std::unique_lock<std::mutex> held(lock);
    for (bool failed = false;;) {
      changed.wait(held, [&] { return !queued.empty() || closing; });
      if (queued.empty()) break;
      std::string bytes;
      bytes.swap(queued);
      held.unlock();
      failed = failed || !write_all(in, bytes);
      held.lock();
    }
    CloseHandle(in); /* all written, or the program stopped reading */
  }
};

Session::Session(const Options &options) : options_(options), process_(std::make_unique<Process>()) {
  Process &p = *process_;
  if (options.in == In::terminal || options.out == Out::terminal)
    throw std::runtime_error("no pseudo-terminal on Windows");

  HANDLE child_in = INVALID_HANDLE_VALUE, child_out = INVALID_HANDLE_VALUE, child_err = nullptr;
  make_pipe(p.err, child_err);
  if (options.in == In::pipe) {
    make_pipe(child_in, p.in);
  } else if (options.in == In::file) {
    child_in = temporary_file("cin");
    check(write_all(child_in, options.file), "WriteFile");
    if (options.file_size > options.file.size())
      check(write_all(child_in, std::string(options.file_size - options.file.size(), '\0')), "WriteFile");
    SetFilePointer(child_in, 0, nullptr, FILE_BEGIN);
  } else if (options.in == In::directory) {
    child_in = CreateFileA(".", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    check(child_in != INVALID_HANDLE_VALUE, "CreateFile .");
  }

  if (options.out == Out::pipe) {
    make_pipe(p.out, child_out);
  } else if (options.out == Out::file) {
    child_out = temporary_file("cout");
    check(DuplicateHandle(GetCurrentProcess(), child_out, GetCurrentProcess(), &p.out_file, 0, FALSE,
                          DUPLICATE_SAME_ACCESS) != 0, "DuplicateHandle");
  } else if (options.out == Out::null || options.out == Out::full) {
    /* No Windows device is ever full: under Wine, Z: is the Linux root. */
    const char *device = options.out == Out::null ? "NUL" : "Z:\\dev\\full";
    child_out = CreateFileA(device, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    check(child_out != INVALID_HANDLE_VALUE, device);
  }

  std::string line;
  std::vector<std::string> command = options.command;
  if (command.empty()) command.push_back(program_path());
  for (const std::string &arg : command) {
    if (!line.empty()) line += ' ';
    line += quoted(arg);
  }

  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  for (HANDLE h : {child_in, child_out, child_err})
    if (h != INVALID_HANDLE_VALUE) inheritable(h);
  start.hStdInput = child_in;
  start.hStdOutput = child_out;
  start.hStdError = child_err;
  const bool started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &p.info) != 0;
  const DWORD error = GetLastError();
  /* The test keeps only its own ends. */
  for (HANDLE h : {child_in, child_out, child_err})
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  SetLastError(error);
  check(started, "CreateProcess");
  if (p.in) p.feeder = std::thread([&p] { p.feed(); });
}

Session::~Session() {
  Process &p = *process_;
  if (p.info.hProcess) {
    TerminateProcess(p.info.hProcess, 1);
    WaitForSingleObject(p.info.hProcess, INFINITE);
  }
  close_input();
  if (p.feeder.joinable()) p.feeder.join();
  for (HANDLE h : {p.info.hProcess, p.info.hThread, p.out, p.err, p.out_file})
    if (h) CloseHandle(h);
}

void Session::send(std::string_view bytes) {
  Process &p = *process_;
  if (!p.in) return;
  const std::lock_guard<std::mutex> held(p.lock);
  p.queued.append(bytes);
  p.changed.notify_all();
}

void Session::close_input() {
  Process &p = *process_;
  if (!p.in) return;
  const std::lock_guard<std::mutex> held(p.lock);
  p.closing = true;
  p.changed.notify_all();
}

void Session::close_output() {
  Process &p = *process_;
  if (p.out) CloseHandle(p.out);
  p.out = nullptr;
}

bool Session::pump(int timeout_ms) {
  Process &p = *process_;
  for (const long deadline = now_ms() + timeout_ms;;) {
    bool got = false;
    for (HANDLE *h : {&p.out, &p.err}) {
      DWORD available = 0;
      if (!*h) continue;
      if (!PeekNamedPipe(*h, nullptr, 0, nullptr, &available, nullptr)) { /* the program's end is closed */
        CloseHandle(*h);
        *h = nullptr;
        continue;
      }
      if (available == 0) continue;
      if (*h == p.out && options_.read_pause_ms) Sleep(static_cast<DWORD>(options_.read_pause_ms));
      char buf[65536];
      DWORD n = 0;
      if (ReadFile(*h, buf, std::min<DWORD>(available, sizeof buf), &n, nullptr) && n > 0) {
        (h == &p.err ? result_.err : result_.out).append(buf, n);
        got = true;
      }
    }
    if (!p.out && !p.err) return false;
    if (got || now_ms() >= deadline) return true;
    Sleep(1);
  }
}

Result Session::finish(int timeout_ms) {
  Process &p = *process_;
  const long deadline = now_ms() + timeout_ms;
  close_input();
  while (now_ms() < deadline && pump(100)) {}
  const long left = std::max(deadline - now_ms(), 0L);
  result_.timed_out = WaitForSingleObject(p.info.hProcess, static_cast<DWORD>(left)) == WAIT_TIMEOUT;
  if (result_.timed_out) {
    TerminateProcess(p.info.hProcess, 1);
    WaitForSingleObject(p.info.hProcess, INFINITE);
  }
  DWORD status = 0;
  GetExitCodeProcess(p.info.hProcess, &status);
  result_.status = result_.timed_out ? -1 : static_cast<int>(status);
  CloseHandle(p.info.hProcess);
  CloseHandle(p.info.hThread);
  p.info = {};
  if (p.out_file) {
    SetFilePointer(p.out_file, 0, nullptr, FILE_BEGIN);
    char buf[65536];
    for (DWORD n = 0; ReadFile(p.out_file, buf, sizeof buf, &n, nullptr) && n > 0;) result_.out.append(buf, n);
  }
  return result_;
}

/* The programs, found from the test's own folder: the build's paths are
   Linux paths when the tests run under Wine. */
namespace {
std::string beside_the_tests(const char *relative) {
  char self[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder(self, n);
  folder.erase(folder.find_last_of("\\/") + 1);
  return folder + relative;
}
} // namespace

const char *program_path() {
  static const std::string path = beside_the_tests(CLASSIFY_FROM_TESTS);
  return path.c_str();
}

const char *stdio_around_scan_path() {
  static const std::string path = beside_the_tests(STDIO_AROUND_SCAN_FROM_TESTS);
  return path.c_str();
}
#endif

} // namespace run
