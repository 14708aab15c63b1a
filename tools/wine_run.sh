#!/bin/sh
# WINEPREFIX=<folder> sh tools/wine_run.sh PROGRAM [ARG...]
# A Windows program under Wine, as CTest's emulator (cmake/mingw-w64-x86_64.cmake)
# and tools/windows_zip.sh run it: in the prefix WINEPREFIX names (made at
# the first start), without Wine's debug chatter, and without its offers to
# install .NET or a browser engine. The prefix's wine server stays up for a
# minute after its last program: tests start back to back, and a program that
# starts while the server is shutting down dies ("recvmsg: Connection reset
# by peer").
set -eu
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
if [ -d "$WINEPREFIX" ]; then wineserver -p60 2>/dev/null || :; fi
exec "${WINE:-wine}" "$@"
