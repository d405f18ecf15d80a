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
# The path handling and command line, and the Jet reader, fuzzed (45 s each), the unit tests under
# valgrind, clang-tidy.
bash tests/fuzz/run.sh
bash tests/quality/valgrind.sh
bash tests/quality/clang-tidy.sh

# Harbek.exe as it ships: 32-bit.
cmake --preset mingw
cmake --build --preset mingw -j"$jobs"
. tests/wine/windows-tree.sh
if [ "$windows_preset" != mingw ]; then
  echo "run-all: this machine cannot run 32-bit code, so 32-bit Wine cannot start; the Windows"
  echo "run-all: tests run against the same sources built for x86-64 ($windows_tree), under 64-bit Wine"
  cmake --preset "$windows_preset"
  cmake --build --preset "$windows_preset" -j"$jobs"
fi

export WINEPREFIX=$PWD/$windows_tree/wineprefix
# The prefix's server must start under the display, so everything Wine does happens inside it.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -u
  wineserver -k 2>/dev/null || true
  tests/wine/make-prefix.sh --headless
  ctest --preset "$HARBEK_WINDOWS_PRESET"
  rc=$?
  wineserver -k 2>/dev/null || true
  exit $rc'
