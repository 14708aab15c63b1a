#!/bin/sh
# WINEPREFIX=<folder> sh tools/wine_run.sh PROGRAM [ARG...]
# A Windows program under Wine, as CTest's emulator (cmake/mingw-w64-x86_64.cmake)
# and tools/windows_zip.sh run it: in the prefix WINEPREFIX names (made at
# the first start), without Wine's debug chatter, and without its offers to
# install .NET or a browser engine.
# The prefix's wine server stays up for a minute after its last program:
# tests start back to back, and one that starts while the server is shutting
# down dies ("recvmsg: Connection reset by peer"). The server and Wine's own
# services (made with the prefix, started with each server) are started
# here, once, under a lock, with none of the caller's standard streams: they
# would keep the output of the program that started them open while they
# live, and whoever reads it to the end would wait for them (the lock's own
# descriptor is kept from them for the same reason).
set -eu
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.starting"
flock 9
if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then # 0: this one started it
  "${WINE:-wine}" wineboot </dev/null >/dev/null 2>&1 9>&- || :
fi
exec 9>&-
exec "${WINE:-wine}" "$@"
