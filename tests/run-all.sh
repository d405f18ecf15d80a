#!/usr/bin/env bash
# Builds both trees and runs every test: the portable core natively (with AddressSanitizer and
# UBSan), then everything of the MinGW build under Wine inside one Xvfb display.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Each stage's end, in seconds from the start, so that a slow stage shows.
stage() { echo "run-all: $1 done at $SECONDS s"; }

bash scripts/setup.sh
jobs=$(nproc)
stage "set-up"

cmake --preset native
cmake --build --preset native -j"$jobs"
ctest --preset native
stage "native build and tests"
# The path handling and command line, and the Jet reader, fuzzed (30 s each), the unit tests under
# valgrind, clang-tidy, and every source file's layout against .clang-format.
bash tests/fuzz/run.sh
bash tests/quality/valgrind.sh
bash tests/quality/clang-tidy.sh
bash tests/quality/format.sh
bash tests/quality/stands-alone.sh
stage "fuzzing, valgrind, clang-tidy and layout"

# Harbek.exe as it ships: 32-bit.
cmake --preset mingw
cmake --build --preset mingw -j"$jobs"
stage "32-bit build"
. wine/windows-tree.sh
if [ "$windows_preset" != mingw ]; then
  echo "run-all: this machine cannot run 32-bit code, so 32-bit Wine cannot start; the Windows"
  echo "run-all: tests run against the same sources built for x86-64 ($windows_tree), under 64-bit Wine"
  cmake --preset "$windows_preset"
  cmake --build --preset "$windows_preset" -j"$jobs"
  stage "x86-64 build"
fi

# Runs ctest of a MinGW tree (its preset, then ctest's own arguments) under Wine in one Xvfb
# display, in the tree's private prefix. The prefix's server must start under the display, so
# everything Wine does happens inside it.
windows_ctest() {
  HARBEK_WINDOWS_PRESET=$1 WINEPREFIX=$PWD/build/$1/wineprefix xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -u
    wineserver -k 2>/dev/null || true
    wine/make-prefix.sh --headless
    ctest --preset "$@"
    rc=$?
    wineserver -k 2>/dev/null || true
    exit $rc' windows-ctest "$@"
}
# Every Windows test; the smoke32 entries repeat cases of it for the 32-bit build alone. A failure
# here still lets the smoke below run, and fails the command at the end.
windows_rc=0
windows_ctest "$windows_preset" -LE smoke32 || windows_rc=$?
stage "Windows tests"

# Where 32-bit code cannot run natively: the shipped 32-bit build through the smoke, under 32-bit
# Wine emulated by qemu-user (wine/emulate-i386.sh; the README says what it registers).
if [ "$windows_preset" = mingw64 ] && preload=$(bash wine/emulate-i386.sh build/i386-trapno); then
  echo "run-all: the smoke of the shipped 32-bit build (ctest -L smoke32) under emulated 32-bit Wine"
  start=$SECONDS
  HARBEK_I386_PRELOAD=$preload windows_ctest mingw -L smoke32 || windows_rc=$?
  echo "run-all: the 32-bit smoke took $((SECONDS - start)) s"
fi
exit "$windows_rc"
