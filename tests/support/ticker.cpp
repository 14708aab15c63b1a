/*
** Linked into a build of classify for the tests, beside its own main: from
** start-up on, a timer sends SIGALRM every millisecond to a handler that was
** installed without SA_RESTART, as in programs that run a timer, wait for
** children or watch the terminal's size. Every read or write that blocks
** meanwhile is interrupted, and returns early or fails with EINTR.
*/
#include <csignal>
#include <sys/time.h>

namespace {

void tick(int) {}

struct Ticker {
  Ticker() {
    struct sigaction action {};
    action.sa_handler = tick;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; /* no SA_RESTART */
    sigaction(SIGALRM, &action, nullptr);
    const itimerval every_millisecond{{0, 1000}, {0, 1000}};
    setitimer(ITIMER_REAL, &every_millisecond, nullptr);
  }
} ticker;

} // namespace
