#!/usr/bin/env python3
"""Whole-process benchmark of classify against three reference programs.

Builds everything in Release, checks that every program writes byte-identical
output on every input, then prints Markdown tables: medians over several
runs (programs alternate within each run), MB/s, ratios to the limit program,
instructions per input byte (callgrind) and peak memory (GNU time). A full run
also draws the main table (MB/s per program and input, standard output to
/dev/null and to a pipe) as bench/chart.svg. Progress goes to standard error.

    python3 bench/bench.py            # 64 MiB inputs, 5 runs, and the chart
    python3 bench/bench.py --smoke    # tiny inputs, one run: checks only
"""
import argparse
import hashlib
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build-release")
PROGRAMS = {
    "classify": os.path.join(BUILD, "classify"),
    "obvious (getchar + printf)": os.path.join(BUILD, "bench", "obvious"),
    "stdio loop (fread + fwrite_unlocked)": os.path.join(BUILD, "bench", "stdio_loop"),
    "limit (memcpy + write)": os.path.join(BUILD, "bench", "limit"),
}
LIMIT = "limit (memcpy + write)"
GEN = os.path.join(BUILD, "bench", "gen_input")


def progress(message):
    print(f"[bench {time.strftime('%H:%M:%S')}] {message}", file=sys.stderr, flush=True)


def sh(cmd, **kw):
    return subprocess.run(cmd, shell=True, check=True, **kw)


def build():
    sh(f"cd {ROOT} && cmake --preset release >/dev/null && cmake --build --preset release >/dev/null")


def generate(kind, size, path):
    if not os.path.exists(path) or os.path.getsize(path) != size:
        sh(f"{GEN} {kind} {size} > {path}")
    return path


def model(data):
    """What every program must print: the prompt and a message per byte."""
    out = [b"Enter String: "]
    for b in data.split(b"\n", 1)[0]:
        out.append(b"Single lowercase letter\n" if 97 <= b <= 122 else b"Not a single lowercase letter")
    return b"".join(out)


def digest_of_run(program, path):
    with open(path, "rb") as f:
        p = subprocess.run([program], stdin=f, stdout=subprocess.PIPE, check=True)
    return hashlib.sha256(p.stdout).hexdigest()


def verify(paths, work):
    """Byte-identical output from every program, and equal to the model."""
    cases = [b"", b"\n", b"aB\n", b"a\0b\n", b"\0", b"ab", b"\xc3\xa9\x80\xff\r\n", b"a\nb\n",
             bytes(range(256)), b"x" * 70000 + b"\nrest"]
    for i, data in enumerate(cases):
        path = os.path.join(work, f"case{i}")
        with open(path, "wb") as f:
            f.write(data)
        paths = paths + [path]
        want = hashlib.sha256(model(data)).hexdigest()
        for name, program in PROGRAMS.items():
            if digest_of_run(program, path) != want:
                sys.exit(f"{name} differs from the model on case {i}")
    for path in paths[:2]:
        want = digest_of_run(PROGRAMS["classify"], path)
        for name, program in PROGRAMS.items():
            if digest_of_run(program, path) != want:
                sys.exit(f"{name} differs from classify on {os.path.basename(path)}")


def wall(command):
    t = time.perf_counter()
    sh(command)
    return time.perf_counter() - t


def timings(path, sink, runs, label):
    """Median wall time per program; programs alternate within each run."""
    times = {name: [] for name in PROGRAMS}
    names = list(PROGRAMS)
    for r in range(runs):
        progress(f"timing {os.path.basename(path)} to {label}: run {r + 1} of {runs}")
        for name in names[r % len(names):] + names[:r % len(names)]:
            times[name].append(wall(f"{PROGRAMS[name]} < {path} {sink}"))
    return {name: statistics.median(t) for name, t in times.items()}


def short_line(path, runs, repeat):
    """Whole-process time for a short line, per process, classify vs obvious."""
    result = {}
    for name in ("classify", "obvious (getchar + printf)"):
        samples = [wall(f"i=0; while [ $i -lt {repeat} ]; do {PROGRAMS[name]} < {path} >/dev/null; i=$((i+1)); done")
                   / repeat for _ in range(runs)]
        result[name] = statistics.median(samples)
    return result


def instructions(program, path):
    out = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", program],
                         stdin=open(path, "rb"), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                         text=True, check=True).stderr
    return int(re.search(r"Collected : (\d+)", out).group(1))


def peak_kib(command):
    out = subprocess.run(["/usr/bin/time", "-f", "%M", "sh", "-c", command],
                         stderr=subprocess.PIPE, text=True, check=True).stderr
    return int(out.strip().splitlines()[-1])


def draw(rates, path):
    """Grouped bars of MB/s: one panel per destination, a group per program."""
    try:
        import matplotlib
    except ImportError:
        progress("no chart: this python3 has no matplotlib (Debian's python3-matplotlib, "
                 "which tools/deps.sh all installs, serves /usr/bin/python3)")
        return
    matplotlib.use("Agg")
    matplotlib.rcParams["svg.hashsalt"] = "classify"  # the same drawing, the same file
    import matplotlib.pyplot as plt

    sinks = list(rates)
    fig, axes = plt.subplots(1, len(sinks), figsize=(11, 4.2), sharey=False)
    for ax, sink in zip(axes, sinks):
        kinds = list(rates[sink])
        names = list(PROGRAMS)
        width = 0.8 / len(kinds)
        for k, kind in enumerate(kinds):
            xs = [i + (k - (len(kinds) - 1) / 2) * width for i in range(len(names))]
            values = [rates[sink][kind][n] for n in names]
            bars = ax.bar(xs, values, width, label=f"{kind} input")
            ax.bar_label(bars, fmt="%.0f", fontsize=7)
        ax.set_xticks(range(len(names)), [n.split(" (")[0] for n in names])
        ax.set_title(f"standard output to {sink}")
        ax.set_ylabel("input MB/s (higher is better)")
        ax.legend(fontsize=8)
    fig.suptitle("64 MiB first line through classify and the reference programs")
    fig.tight_layout()
    fig.savefig(path, format="svg", metadata={"Date": None})
    progress(f"chart written to {os.path.relpath(path, ROOT)}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--mib", type=int, default=64, help="size of the large inputs")
    ap.add_argument("--big-mib", type=int, default=1024, help="size of the input for the memory check")
    ap.add_argument("--smoke", action="store_true", help="tiny inputs, one run")
    ap.add_argument("--no-build", action="store_true")
    ap.add_argument("--chart", default=os.path.join(ROOT, "bench", "chart.svg"),
                    help="where a full run draws its chart (none with --smoke)")
    a = ap.parse_args()
    if a.smoke:
        a.runs, a.mib, a.big_mib = 1, 1, 2
    if not a.no_build:
        progress("building the Release preset")
        build()

    work = os.path.join(BUILD, "bench-data")
    os.makedirs(work, exist_ok=True)
    size = a.mib << 20
    inputs = {kind: generate(kind, size, os.path.join(work, f"{kind}-{a.mib}m")) for kind in ("random", "text")}
    small = generate("random", min(size, 4 << 20), os.path.join(work, "random-callgrind"))
    short = os.path.join(work, "short")
    with open(short, "wb") as f:
        f.write(b"aB\n")

    progress("checking that every program writes the same output")
    verify(list(inputs.values()), work)
    print(f"All {len(PROGRAMS)} programs wrote identical output on every input.\n")

    print(f"Input: {a.mib} MiB first line without a newline, from a file; median of {a.runs} runs.\n")
    rates = {}
    for sink_name, sink in (("/dev/null", "> /dev/null"), ("a pipe", "| cat > /dev/null")):
        rates[sink_name] = {}
        rows = []
        for kind, path in inputs.items():
            t = timings(path, sink, a.runs, sink_name)
            rates[sink_name][kind] = {name: size / t[name] / 1e6 for name in PROGRAMS}
            for name in PROGRAMS:
                rows.append(f"| {name} | {kind} | {t[name]:.3f} | {size / t[name] / 1e6:.0f} | {t[name] / t[LIMIT]:.2f} |")
        print(f"Standard output to {sink_name}:\n")
        print("| program | input | median wall (s) | MB/s | x limit |")
        print("|---|---|---|---|---|")
        print("\n".join(rows), flush=True)
        print()

    print(f"Instructions per input byte (callgrind, {os.path.getsize(small) >> 20} MiB random), "
          f"and peak resident memory ({a.mib} MiB random, from a file):\n")
    print("| program | instructions / byte | peak memory (KiB) |")
    print("|---|---|---|")
    progress("counting instructions (callgrind) and peak memory")
    for name, program in PROGRAMS.items():
        ipb = instructions(program, small) / os.path.getsize(small)
        peak = peak_kib(f"{program} < {inputs['random']} > /dev/null")
        print(f"| {name} | {ipb:.1f} | {peak} |")
    print()

    classify = PROGRAMS["classify"]
    large = peak_kib(f"{classify} < {inputs['random']} > /dev/null")
    big = peak_kib(f"{GEN} random {a.big_mib << 20} | {classify} > /dev/null")
    print(f"classify peak memory: {large} KiB for the {a.mib} MiB line from a file, "
          f"{big} KiB for a {a.big_mib} MiB line through a pipe.\n")

    progress("timing a short line")
    s = short_line(short, a.runs, 20 if a.smoke else 300)
    c, o = s["classify"], s["obvious (getchar + printf)"]
    print(f"Short line (aB and a newline), whole process: classify {c * 1e3:.3f} ms, "
          f"obvious program {o * 1e3:.3f} ms, ratio {c / o:.2f}.")
    if not a.smoke:
        draw(rates, a.chart)


if __name__ == "__main__":
    main()
