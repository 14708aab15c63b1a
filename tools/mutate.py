#!/usr/bin/env python3
"""Mutation testing: does the suite catch the mistakes a developer could make?

Each mutant in tools/mutants.py changes one exact piece of text in one file
(a comparison, an off-by-one, a dropped or reordered statement, a wrong field,
a dropped flush, a changed message or status). For each, on a private copy of
the tree, this builds the default configuration and runs the default suite;
a mutant that survives it goes through the sanitizer suite, then a short run
of each fuzzer. Equivalent mutants (no test can tell them from the original)
are listed with the reason, not run.

  python3 tools/mutate.py              every mutant
  python3 tools/mutate.py NAME...      only these (names or name prefixes)
  python3 tools/mutate.py --check      only check that every entry applies

The report goes to standard output and to build-mutation/report.md. Exit
status 1 when an entry no longer applies (its text is gone or not unique) or
a non-equivalent mutant survives every stage.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tools"))
from mutants import MUTANTS  # noqa: E402

WORK = ROOT / "build-mutation"
SRC = WORK / "src"
# Seconds per test: a mutant may loop for ever. The slowest test takes about
# 3 s in the default build and 10 s under the sanitizers.
TEST_TIMEOUT = {"default": "15", "sanitizers": "60"}
FUZZ_SECONDS = 20       # per fuzzer, for the mutants the suites did not kill

# The configurations: (build folder, cmake options). Benchmarks are left out
# and warnings are not errors: a mutant must fail a test, not a warning.
COMMON = ["-G", "Ninja", "-DSCANNER_BUILD_BENCH=OFF", "-DSCANNER_WERROR=OFF"]
STAGES = {
    "default": ("build", ["-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DSCANNER_BUILD_TESTS=ON"]),
    "sanitizers": ("build-asan", ["-DCMAKE_BUILD_TYPE=Debug", "-DSCANNER_BUILD_TESTS=ON", "-DSCANNER_CHECKS=ON",
                                  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-omit-frame-pointer "
                                  "-fno-sanitize-recover=all"]),
    "fuzzers": ("build-fuzz", ["-DCMAKE_CXX_COMPILER=clang++", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                               "-DSCANNER_BUILD_FUZZ=ON", "-DSCANNER_BUILD_TESTS=OFF",
                               "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined "
                               "-fno-sanitize-recover=all"]),
}
SANITIZER_ENV = {"ASAN_OPTIONS": "detect_leaks=1", "UBSAN_OPTIONS": "halt_on_error=1"}


def run(cmd, cwd=None, env=None, timeout=None):
    full_env = dict(os.environ, **(env or {}))
    try:
        p = subprocess.run(cmd, cwd=cwd, env=full_env, timeout=timeout,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired as e:
        return -1, (e.stdout or "") if isinstance(e.stdout, str) else "timed out"


def copy_tree():
    """A private copy of the tracked files: mutants never touch the real tree."""
    files = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True,
                           stdout=subprocess.PIPE).stdout.decode().split("\0")
    for name in filter(None, files):
        dst = SRC / name
        dst.parent.mkdir(parents=True, exist_ok=True)
        if not dst.exists() or dst.read_bytes() != (ROOT / name).read_bytes():
            shutil.copy(ROOT / name, dst)  # a new time: the build must see the change


def check_catalogue(mutants):
    """Every entry's text must occur exactly once in its file."""
    stale = []
    for m in mutants:
        text = (ROOT / m.file).read_text()
        count = text.count(m.original)
        if count != 1:
            stale.append(f"{m.name}: its text occurs {count} times in {m.file}")
    return stale


class Stage:
    def __init__(self, name):
        self.name = name
        folder, options = STAGES[name]
        self.dir = WORK / folder
        self.options = options
        self.ready = False

    def build(self):
        if not self.ready:
            code, out = run(["cmake", "-S", str(SRC), "-B", str(self.dir)] + COMMON + self.options)
            if code != 0:
                sys.exit(f"mutate.py: configuring {self.name} failed:\n{out}")
            self.ready = True
        return run(["cmake", "--build", str(self.dir)])

    def kills(self):
        """The name of the first check that fails, or None if all pass."""
        if self.name == "fuzzers":
            for target in ("stream", "calls"):
                corpus = WORK / "corpus" / target
                shutil.rmtree(corpus, ignore_errors=True)
                corpus.mkdir(parents=True)
                for seeds in (SRC / "fuzz/corpus" / target, SRC / "fuzz/regressions" / target):
                    for f in seeds.glob("*") if seeds.exists() else []:
                        shutil.copy(f, corpus)
                code, _ = run([str(self.dir / "fuzz" / f"{target}_fuzzer"), str(corpus),
                               f"-max_total_time={FUZZ_SECONDS}", f"-artifact_prefix={WORK}/",
                               "-timeout=10"], timeout=FUZZ_SECONDS * 3)
                if code != 0:
                    return f"{target}_fuzzer"
            return None
        env = SANITIZER_ENV if self.name == "sanitizers" else None
        # In-process tiers first: they are fast, and most mutants die there.
        for selection in (["-LE", "e2e"], ["-L", "e2e"]):
            code, out = run(["ctest", "--test-dir", str(self.dir), "-j2", "--timeout", TEST_TIMEOUT[self.name],
                             "--stop-on-failure"] + selection, env=env)
            if code != 0:
                failed = [line.split(" - ", 1)[1].split(" (")[0].strip()
                          for line in out.splitlines() if " - " in line and "(" in line and line.strip()[0].isdigit()]
                return failed[0] if failed else "ctest"
        return None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("names", nargs="*", help="run only the mutants whose names start with these")
    parser.add_argument("--check", action="store_true", help="only check that every entry applies")
    args = parser.parse_args()

    stale = check_catalogue(MUTANTS)
    if stale:
        print("mutate.py: catalogue entries that no longer apply (keep tools/mutants.py in step with the code):")
        print("\n".join("  " + s for s in stale))
        return 1
    print(f"mutate.py: all {len(MUTANTS)} catalogue entries apply")
    if args.check:
        return 0

    chosen = [m for m in MUTANTS if not args.names or any(m.name.startswith(n) for n in args.names)]
    WORK.mkdir(exist_ok=True)
    copy_tree()
    stages = [Stage(name) for name in STAGES]
    code, out = stages[0].build()
    failed = stages[0].kills() if code == 0 else "the build"
    if failed:
        sys.exit(f"mutate.py: the unmutated tree fails {failed}:\n{out}")

    started = time.time()
    rows = []
    for i, m in enumerate(chosen, 1):
        if m.equivalent:
            rows.append((m, "equivalent", m.equivalent))
            continue
        path = SRC / m.file
        original = path.read_text()
        path.write_text(original.replace(m.original, m.replacement, 1))
        try:
            verdict, by = "survived", ""
            for stage in stages:
                code, out = stage.build()
                if code != 0:
                    verdict, by = ("killed", "compiler") if m.compile_error else ("broken", "does not compile")
                    break
                failed = stage.kills()
                if failed:
                    verdict, by = f"killed by {stage.name}", failed
                    break
        finally:
            path.write_text(original)
        rows.append((m, verdict, by))
        print(f"[{i}/{len(chosen)} {time.time() - started:5.0f} s] {m.name}: {verdict} {by}", flush=True)
    for stage in stages:  # leave every build matching the sources again
        if stage.ready:
            stage.build()

    report = render(rows, time.time() - started)
    (WORK / "report.md").write_text(report)
    print(report)
    bad = [r for r in rows if r[1] in ("survived", "broken")]
    return 1 if bad else 0


def render(rows, seconds):
    counts = {}
    for _, verdict, _ in rows:
        counts[verdict] = counts.get(verdict, 0) + 1
    live = [r for r in rows if r[1] != "equivalent"]
    killed = [r for r in live if r[1].startswith("killed")]
    by_default = [r for r in live if r[1] == "killed by default"]
    lines = ["# Mutation report", ""]
    if live:
        lines.append(f"{len(rows)} mutants, {len(rows) - len(live)} equivalent; of the other {len(live)}: "
                     f"{len(killed)} killed ({100 * len(killed) / len(live):.1f}%), "
                     f"{len(by_default)} by the default suite alone ({100 * len(by_default) / len(live):.1f}%). "
                     f"{seconds:.0f} s.")
    lines.append("")
    lines.append(" ".join(f"{v}: {n}." for v, n in sorted(counts.items())))
    lines += ["", "| mutant | file | verdict | by |", "|---|---|---|---|"]
    for m, verdict, by in rows:
        lines.append(f"| {m.name} | {m.file} | {verdict} | {by} |")
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    sys.exit(main())
