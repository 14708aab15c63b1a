#!/bin/sh
# What a Windows user gets, checked after cmake --workflow --preset windows:
# the zip unpacked; what it holds; classify.exe needing only what every
# Windows has; classify.exe under Wine through a pipe, a file and a console,
# as the README says; and another project's program built against the
# unpacked library with the cross compiler, through find_package and through
# pkg-config, doing what classify does.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
zip=$(ls build-windows/classify-*-win64.zip)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$root/$zip")
top=$(ls -d "$work"/classify-*-win64)
export WINEPREFIX="$root/build-windows/wine-prefix"
wine="sh $root/tools/wine_run.sh"
status=0
fail() { echo "  FAILED: $*"; status=1; }

echo "== what $(basename "$zip") holds"
for f in bin/classify.exe lib/libclassify-scanner.a include/classify/scanner/scanner.h \
  lib/cmake/classify/classifyConfig.cmake lib/pkgconfig/classify-scanner.pc classify.txt LICENSE.txt; do
  [ -f "$top/$f" ] && echo "  $f" || fail "$f is missing"
done
dlls=$(x86_64-w64-mingw32-objdump -p "$top/bin/classify.exe" | sed -n 's/.*DLL Name: //p' | sort | tr '\n' ' ')
[ "$dlls" = "KERNEL32.dll msvcrt.dll " ] && echo "  classify.exe needs $dlls" || fail "classify.exe needs $dlls"

echo "== classify.exe under Wine"
classify="$top/bin/classify.exe"
expect() { # label, expected output (printf format), command
  label=$1 want=$2; shift 2
  "$@" >"$work/got" 2>"$work/err" && code=0 || code=$?
  printf "$want" >"$work/want"
  if [ $code = 0 ] && cmp -s "$work/want" "$work/got" && [ ! -s "$work/err" ]; then
    echo "  $label: as expected"
  else
    fail "$label: status $code, $(od -c "$work/got" | head -3)"
  fi
}
L='Single lowercase letter\r\n' N='Not a single lowercase letter'
expect "a pipe, CR LF a line end" "Enter String: $L" sh -c "printf 'a\r\nb\n' | $wine '$classify'"
printf 'aB\rc\032d\n' >"$work/in"
expect "a file, a lone CR a byte, Ctrl-Z the end" "Enter String: $L$N$N$L" sh -c "$wine '$classify' <'$work/in'"
python3 tests/console_under_wine.py $wine "$classify" >/dev/null && echo "  a console: prompt, a line at a time" \
  || fail "at the console"

echo "== another project's program, built against the unpacked library"
cmake -S examples/consumer -B "$work/consumer" -G Ninja --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
  -Dclassify_DIR="$top/lib/cmake/classify" >/dev/null
cmake --build "$work/consumer" >/dev/null
x86_64-w64-mingw32-g++-posix -std=c++17 -static -o "$work/by_pkgconfig.exe" examples/consumer/classify_files.cpp \
  $(PKG_CONFIG_LIBDIR="$top/lib/pkgconfig" pkg-config --cflags --libs classify-scanner)
printf 'ab' >"$work/a1"
printf 'Cd\nnot classified' >"$work/a2"
for consumer in "$work/consumer/classify_files.exe" "$work/by_pkgconfig.exe"; do
  expect "$(basename "$consumer"), two files" "Enter String: $L$L$N$L" $wine "$consumer" "$work/a1" "$work/a2"
done
exit $status
