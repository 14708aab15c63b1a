#!/bin/sh
# WINEPREFIX=<folder> sh tools/wine_run.sh PROGRAM [ARG...]
# A Windows program under Wine, as CTest's emulator (cmake/mingw-w64-x86_64.cmake)
# and tools/windows_zip.sh run it: in the prefix WINEPREFIX names (made at
# the first start), without Wine's debug chatter, and without its offers to
# install .NET or a browser engine.
# The prefix's wine server is started here, before the program, to stay up
# for a minute after its last program: tests start back to back, and one that
# starts while the server is shutting down dies ("recvmsg: Connection reset
# by peer"). It is started with no standard streams of the caller's: a
# server that a program starts keeps that program's output open while it
# lives, and whoever reads it to the end would wait for the server.
set -eu
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
mkdir -p "$WINEPREFIX"
wineserver -p60 </dev/null >/dev/null 2>&1 || : # fails when one is up already
exec "${WINE:-wine}" "$@"
