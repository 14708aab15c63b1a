#!/bin/sh
# Line and branch coverage of the scanner module and the program, from the
# whole default suite built with gcov (the coverage preset), reported by gcovr.
# Fails unless every line that can run has run and branches reach 95%; a
# line that cannot run is marked GCOVR_EXCL_LINE in the code, with the reason.
#   sh tools/coverage.sh
set -eu
cd "$(dirname "$0")/.."
find build-coverage -name '*.gcda' -delete 2>/dev/null || true
cmake --workflow --preset coverage >build-coverage.log 2>&1 || { tail -n 40 build-coverage.log; exit 1; }
rm -f build-coverage.log
gcovr --root . --object-directory build-coverage \
  --filter 'scanner/' --filter 'classifier/' --exclude-directories '.*/CMakeFiles/[0-9.]+' \
  --exclude-unreachable-branches --exclude-throw-branches \
  --print-summary --fail-under-line 100 --fail-under-branch 95
