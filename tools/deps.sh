#!/bin/sh
# Installs the Debian packages this project needs, only those missing, with
# no recommended extras (as root, or through sudo).
#   sh tools/deps.sh build    what building the program needs: the compiler,
#                             CMake and Ninja (the README's first command)
#   sh tools/deps.sh          what building and testing need (the README's second)
#   sh tools/deps.sh install  what installing, packaging and using the installed
#                             library need: the compiler, CMake and Ninja (no
#                             test libraries), dpkg-dev and file (the package's
#                             dependencies), man-db (man), pkgconf (pkg-config)
#   sh tools/deps.sh windows  the Windows build: the MinGW-w64 cross compiler,
#                             Wine to run its tests, GoogleTest's source to build
#                             for it, CMake and Ninja, mandoc (the manual as
#                             text), python3 (the console check), pkgconf
#   sh tools/deps.sh all      everything above, and what CI and the benchmarks
#                             use besides: clang
#                             and its fuzzer runtime, valgrind, GNU time, python3
#                             with matplotlib (the benchmark chart), gcovr,
#                             lintian and mandoc (the packaging checks)
set -eu
cd "$(dirname "$0")"

build="g++ cmake ninja-build"
windows="cmake ninja-build g++-mingw-w64-x86-64-posix wine64 wine googletest mandoc python3 pkgconf"
install="dpkg-dev file man-db pkgconf"
case "${1:-}" in
build) packages="$build" ;;
"") packages="$build libgtest-dev libbenchmark-dev" ;;
install) packages="$build $install" ;;
windows) packages="$windows" ;;
all)
  packages="$build libgtest-dev libbenchmark-dev $install $windows"
  packages="$packages clang libclang-rt-14-dev valgrind time python3 python3-matplotlib gcovr lintian mandoc"
  ;;
*) echo "usage: sh tools/deps.sh [build | install | windows | all]" >&2; exit 2 ;;
esac

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "tools/deps.sh: installing$missing" >&2
# shellcheck disable=SC2086 # the package names are words
sh as_root.sh sh -c "apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends$missing"
