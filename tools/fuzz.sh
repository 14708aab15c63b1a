#!/bin/sh
# Builds the libFuzzer targets (clang) and runs each for a bounded time from
# the seed corpus. A crash fails the run; its input is left in the artifact
# folder printed below, to be kept under fuzz/regressions/<target>/.
#   sh tools/fuzz.sh [seconds per target]   (default 60)
# For each fuzzer it prints its runs, its runs per second and its peak
# memory, against the rate recorded in fuzz/rates on this project's machine:
# a fuzzer that slows tenfold still passes, and finds next to nothing, so
# the line says so in capitals.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work=$(mktemp -d /tmp/classify-fuzz.XXXXXX)
status=0
for name in stream calls; do
  mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
  cp fuzz/corpus/$name/* fuzz/regressions/$name/* "$work/$name/corpus/" 2>/dev/null || true
  echo "== ${name}_fuzzer, ${seconds} s"
  if build-fuzz/fuzz/${name}_fuzzer "$work/$name/corpus" -max_total_time="$seconds" \
      -artifact_prefix="$work/$name/artifacts/" -print_final_stats=1 >"$work/$name/log" 2>&1; then
    stat() { sed -n "s/^stat::$1: *//p" "$work/$name/log"; }
    recorded=$(sed -n "s/^$name //p" fuzz/rates)
    runs=$(stat number_of_executed_units) rate=$(stat average_exec_per_sec) rss=$(stat peak_rss_mb)
    echo "${name}_fuzzer: $runs runs in $seconds s, $rate runs/s (recorded: $recorded), peak $rss MB"
    if [ "$((rate * 10))" -lt "$recorded" ]; then
      echo "${name}_fuzzer: SLOWER THAN A TENTH OF ITS RECORDED RATE: it barely fuzzes any more"
    fi
  else
    status=1
    tail -n 40 "$work/$name/log"
    echo "crash input kept in $work/$name/artifacts/"
  fi
done
exit $status
