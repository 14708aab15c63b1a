#!/bin/sh
# Installs the Debian packages this project needs, only those missing, with
# no recommended extras.
#   sh tools/deps.sh       what building and testing need (the README's commands)
#   sh tools/deps.sh all   also what CI and the benchmarks need: clang and its
#                          fuzzer runtime, valgrind, GNU time, python3 with
#                          matplotlib (the benchmark chart), gcovr,
#                          and the packaging checks (dpkg-dev, lintian, mandoc,
#                          man-db, pkg-config)
set -eu

packages="g++ cmake ninja-build libgtest-dev libbenchmark-dev"
if [ "${1:-}" = all ]; then
  packages="$packages clang libclang-rt-14-dev valgrind time python3 python3-matplotlib gcovr"
  packages="$packages dpkg-dev lintian mandoc man-db pkgconf"
fi

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

command="apt-get install -y -q --no-install-recommends$missing"
if [ "$(id -u)" = 0 ]; then
  sudo=""
elif command -v sudo >/dev/null 2>&1; then
  sudo=sudo
else
  echo "tools/deps.sh: these Debian packages are missing:$missing" >&2
  echo "tools/deps.sh: this needs root, and there is no sudo here; as root, run:" >&2
  echo "  apt-get update && $command" >&2
  exit 1
fi
echo "tools/deps.sh: installing$missing" >&2
$sudo apt-get update -q
$sudo env DEBIAN_FRONTEND=noninteractive $command
