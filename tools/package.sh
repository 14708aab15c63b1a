#!/bin/sh
# What a user installs, checked as a user would use it: build the program
# and library alone (the install preset, no test libraries) and install them
# into a staging prefix; build the consumer example against it with
# find_package and with pkg-config and a plain compiler command, and check
# that it classifies files exactly as `cat FILES | classify` does; uninstall
# and check that nothing is left; lint the manual page; build the Debian
# package (the package preset), check its dependencies, list it, lint it,
# unpack it and run the unpacked program.
set -eu
cd "$(dirname "$0")/.."
work=$(mktemp -d /tmp/classify-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
stage=$work/stage

echo "== the program and library alone, installed into a staging prefix"
cmake --workflow --preset install >/dev/null
cmake --install build-install --prefix "$stage" >/dev/null
(cd "$stage" && find . -type f | sort)

echo "== consumer, through find_package"
cmake -S examples/consumer -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$stage" >/dev/null
cmake --build "$work/consumer" >/dev/null
by_cmake=$work/consumer/classify_files

echo "== consumer, through pkg-config and a plain compiler command"
by_pkgconfig=$work/classify_files
# shellcheck disable=SC2046 # the flags are words
c++ -std=c++17 -Wall -Wextra -o "$by_pkgconfig" examples/consumer/classify_files.cpp \
  $(PKG_CONFIG_PATH="$stage/lib/pkgconfig" pkg-config --cflags --libs classify-scanner)

# Files whose text runs together: a line across files, files without a
# newline, an empty file, NUL bytes at a file's end, and text that spans
# several refills.
mkdir "$work/in"
printf 'ab' >"$work/in/a1"; printf 'Cd\nnot classified' >"$work/in/a2"
printf 'x\000' >"$work/in/b1"; : >"$work/in/b2"; printf 'y\000z' >"$work/in/b3"
printf 'one file, one line\n' >"$work/in/c1"
head -c 40000 /dev/urandom | tr '\n' 'n' >"$work/in/d1"
head -c 30000 /dev/urandom | tr '\n' 'N' >"$work/in/d2"
status=0
same_as_classify() { # label, input given to classify, consumer command...
  label=$1 feed=$2; shift 2
  sh -c "$feed" | build-install/classify >"$work/want"
  "$@" >"$work/got"
  if cmp -s "$work/want" "$work/got"; then
    echo "  $label: $(wc -c <"$work/got") bytes, the same as classify's"
  else
    echo "  MISMATCH: $label"; status=1
  fi
}
for files in "a1 a2" "b1 b2 b3" "c1" "d1 b2 d2 a1" "b2"; do
  paths=$(for f in $files; do printf '%s ' "$work/in/$f"; done)
  # shellcheck disable=SC2086 # paths are words
  for way in find_package pkg-config; do
    consumer=$by_cmake
    [ $way = pkg-config ] && consumer=$by_pkgconfig
    same_as_classify "$way, files $files" "cat $paths" "$consumer" $paths
  done
done
printf 'aB\n' >"$work/in/line"
same_as_classify "find_package, no files: standard input" "cat $work/in/line" sh -c "\"$by_cmake\" <$work/in/line"

echo "== uninstall"
cmake --build build-install --target uninstall >/dev/null
# Every file goes, and every folder the install made: the staging prefix
# did not exist before it, so nothing of it may be left.
if [ -e "$stage" ]; then echo "left behind:"; find "$stage" | sort; status=1; else echo "nothing left behind"; fi
# A folder that was there before stays, empty or not.
mkdir -p "$stage/bin" "$stage/share/man/man1"
cmake --install build-install --prefix "$stage" >/dev/null
cmake --build build-install --target uninstall >/dev/null
if [ "$(cd "$stage" && find . | sort | tr '\n' ' ')" = ". ./bin ./share ./share/man ./share/man/man1 " ]; then
  echo "the folders that were there before stay"
else
  echo "the uninstall removed a folder it did not make:"; find "$stage" | sort; status=1
fi

echo "== a root command printed for a user with neither root nor sudo"
if ! command -v sudo >/dev/null 2>&1 && id nobody >/dev/null 2>&1; then
  cp tools/as_root.sh "$work/as_root.sh"
  chmod 755 "$work"
  printed=$(su -s /bin/sh nobody -c "sh $work/as_root.sh printf '%s|' 'two words' \"it's\"" 2>&1 | tail -n 1) || true
  if [ "$(sh -c "$printed")" = "two words|it's|" ]; then echo "pasted into a shell, it runs as given"; else
    echo "printed: $printed"; status=1; fi
else
  echo "  skipped: this machine has sudo, or no user nobody"
fi

echo "== manual page"
mandoc -T lint -W warning classifier/classify.1
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l classifier/classify.1 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings"; status=1; }
echo "renders without warnings"

echo "== Debian package"
cmake --workflow --preset package >/dev/null
deb=$(ls build-package/classify_*.deb)
dpkg-deb --field "$deb"
dpkg-deb -c "$deb"
[ -n "$(dpkg-deb --field "$deb" Depends)" ] || { echo "the package has no Depends"; status=1; }
lintian --fail-on warning --tag-display-limit 0 "$deb" || status=1
dpkg-deb -x "$deb" "$work/unpacked"
same_as_classify "the unpacked /usr/bin/classify" "printf 'aB1z\\n'" sh -c "printf 'aB1z\\n' | $work/unpacked/usr/bin/classify"
exit $status
