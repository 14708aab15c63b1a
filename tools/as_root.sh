#!/bin/sh
# Runs a command as root: as it is for root, through sudo for anyone else.
# With neither, prints the command quoted for a root shell, to paste there.
#   sh tools/as_root.sh cmake --install build-install
set -eu
[ "$(id -u)" = 0 ] && exec "$@"
command -v sudo >/dev/null 2>&1 && exec sudo "$@"
quoted=""
for word in "$@"; do
  quoted="$quoted '$(printf '%s' "$word" | sed "s/'/'\\\\''/g")'"
done
echo "tools/as_root.sh: this needs root, and there is no sudo here; as root, run:" >&2
echo " $quoted" >&2
exit 1
