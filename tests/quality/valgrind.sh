#!/usr/bin/env bash
# Runs the core's unit tests under Valgrind's memcheck: a native build without sanitizers (they
# cannot share a process with Valgrind) in build/valgrind. Exits non-zero on any memory error or
# leak, or on a failing test.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

tree=build/valgrind
if ! command -v valgrind >/dev/null; then
  echo "valgrind: FAILED: valgrind not found (install valgrind)"
  exit 1
fi

mkdir -p "$tree"
cmake -S . -B "$tree" -DHARBEK_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Debug >"$tree/configure.log" 2>&1 ||
  { cat "$tree/configure.log"; echo "valgrind: FAILED: configure"; exit 1; }
cmake --build "$tree" --target harbek_unit_tests -j"$(nproc)" || { echo "valgrind: FAILED: build"; exit 1; }

exe=$(find "$tree" -name harbek_unit_tests -type f -perm -u+x | head -n 1)
set +e
valgrind --error-exitcode=1 --leak-check=full --show-leak-kinds=definite,indirect,possible \
  --errors-for-leak-kinds=definite,indirect,possible --track-origins=yes --quiet \
  "$exe" --gtest_brief=1 >"$tree/valgrind.log" 2>&1
rc=$?
set -e
if [ $rc -ne 0 ]; then
  tail -n 60 "$tree/valgrind.log"
  echo "valgrind: FAILED (exit $rc); the whole output is in $tree/valgrind.log"
  exit 1
fi
tests=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from.*ran.*/\1/p' "$tree/valgrind.log")
echo "valgrind: ${tests:-?} unit tests ran clean under memcheck (no errors, no leaks)"
