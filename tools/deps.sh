#!/bin/sh
# Installs the Debian packages this project needs, only when one is missing.
#   sh tools/deps.sh       what building and testing need
#   sh tools/deps.sh all   also the fuzzers' clang runtime, valgrind and GNU time
set -eu

packages="g++ cmake ninja-build libgtest-dev libbenchmark-dev"
if [ "${1:-}" = all ]; then
  packages="$packages clang libclang-rt-14-dev valgrind time"
fi

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "tools/deps.sh: installing$missing" >&2
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing
