#!/usr/bin/env bash
# Builds both trees and runs every test: the portable core natively (with AddressSanitizer and
# UBSan), then everything of the MinGW build under Wine inside one Xvfb display.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh
jobs=$(nproc)

cmake --preset native
cmake --build --preset native -j"$jobs"
ctest --preset native
# The path handling and command line fuzzed (60 s), the unit tests under valgrind, clang-tidy.
bash tests/fuzz/run.sh
bash tests/quality/valgrind.sh
bash tests/quality/clang-tidy.sh

cmake --preset mingw
cmake --build --preset mingw -j"$jobs"

export WINEPREFIX=$PWD/build/mingw/wineprefix
export PATH=$PATH:/usr/lib/wine
# The prefix's server must start under the display, so everything Wine does happens inside it.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -u
  wineserver -k 2>/dev/null || true
  tests/wine/make-prefix.sh --headless
  ctest --preset mingw
  rc=$?
  wineserver -k 2>/dev/null || true
  exit $rc'
