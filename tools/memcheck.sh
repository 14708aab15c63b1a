#!/bin/sh
# Runs classify under valgrind's memcheck over a few inputs: no errors and
# no definite leaks allowed. Uses the default build (build/classify).
set -eu
cd "$(dirname "$0")/.."
program=build/classify
work=$(mktemp -d /tmp/classify-memcheck.XXXXXX)
trap 'rm -rf "$work"' EXIT

printf '' >"$work/empty"
printf 'aB\n' >"$work/line"
printf 'a\000b\000\000\n' >"$work/nuls"
printf 'no newline at all' >"$work/unterminated"
head -c 100000 /dev/urandom >"$work/random"
awk 'BEGIN { for (i = 0; i < 20000; i++) printf "x"; printf "\n" }' >"$work/long"

check() { # name, expected status, input file, output file
  name=$1 want=$2 input=$3 output=$4
  set +e
  valgrind --quiet --error-exitcode=99 --track-origins=yes --leak-check=full --errors-for-leak-kinds=definite \
    --log-file="$work/$name.log" "$program" <"$input" >"$output" 2>"$work/$name.err"
  got=$?
  set -e
  if [ "$got" != "$want" ] || [ -s "$work/$name.log" ]; then
    echo "memcheck: $name: status $got (wanted $want)"
    cat "$work/$name.log" "$work/$name.err"
    exit 1
  fi
  echo "memcheck: $name: clean, status $got"
}

for input in empty line nuls unterminated random long; do
  check "$input" 0 "$work/$input" /dev/null
done
check directory 2 / /dev/null
check full-output 2 "$work/line" /dev/full
