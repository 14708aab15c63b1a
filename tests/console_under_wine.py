#!/usr/bin/env python3
"""classify.exe at a Windows console: Wine makes one on a pseudo-terminal.

  python3 console_under_wine.py EMULATOR... PROGRAM

The test build is a Windows one and has no pseudo-terminal of its own, so
this check runs on the Linux side. It waits for the prompt before typing,
types part of a line, which the console keeps until Enter, then the rest
and Enter: the answer must come at once, with no more input and no end of
file, and the program must end with status 0. Then again, with Ctrl+Z and
Enter on the empty line: the end of the input, nothing classified, status 0.
"""
import os
import pty
import re
import select
import sys
import time

# What the console draws: cursor moves, erasures and colours, then the text.
CONTROL = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]|\x1b\][^\x07]*\x07|[\r\n ]")


def session(command, steps):
    """Start the program at a new terminal; for each step (typed, expected,
    failure) type, then wait until the letters drawn hold expected (None: must
    not show for a while). Returns the failures, and what was drawn."""
    pid, terminal = pty.fork()
    if pid == 0:
        os.execvp(command[0], command)
    seen = b""

    def read_more(seconds):
        """Add what is drawn within seconds to seen; False on timeout or once the program is gone."""
        nonlocal seen
        if not select.select([terminal], [], [], seconds)[0]:
            return False
        try:
            chunk = os.read(terminal, 4096)
        except OSError:  # the program is gone
            return False
        seen += chunk
        return bool(chunk)

    def wait_for(text, seconds):
        """Read what is drawn until its letters hold text; False at the end or after seconds."""
        deadline = time.monotonic() + seconds
        while text not in CONTROL.sub(b"", seen):
            left = deadline - time.monotonic()
            if left <= 0 or not read_more(left):
                return False
        return True

    def drain(quiet):
        """Read what is drawn until nothing comes for quiet seconds."""
        while read_more(quiet):
            pass

    failures = []
    # The first start of Wine makes its prefix: allow for it.
    if not wait_for(b"EnterString:", 120):
        failures.append("no prompt before any input")
    # Then type as a person would, once the console is still: what is typed
    # before the program asks for a line is the console's to handle.
    drain(0.5)
    for typed, expected, failure in steps:
        os.write(terminal, typed)
        if expected is None:
            if wait_for(b"Single", 2):
                failures.append(failure)
        elif not wait_for(expected, 20):
            failures.append(failure)
    status = None
    deadline = time.monotonic() + 20
    while status is None and time.monotonic() < deadline:
        done, code = os.waitpid(pid, os.WNOHANG)
        if done:
            status = os.waitstatus_to_exitcode(code)
        else:
            drain(0.1)
    if status is None:
        os.kill(pid, 9)
        failures.append("still running after the first line")
    elif status != 0:
        failures.append(f"exit status {status}")
    if b"Single" in seen and not steps[-1][1]:
        failures.append("a message after Ctrl+Z")
    return failures, seen


def main():
    command = sys.argv[1:]
    failed = False
    for steps in ([(b"a", None, "the line was taken before Enter"),
                   (b"B\r", b"SinglelowercaseletterNotasinglelowercaseletter", "no answer after Enter")],
                  [(b"\x1a\r", b"", "")]):
        failures, seen = session(command, steps)
        for failure in failures:
            print(f"console: {failure}", file=sys.stderr)
        print(f"console: what was drawn: {seen!r}", file=sys.stderr if failures else sys.stdout)
        failed = failed or bool(failures)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
