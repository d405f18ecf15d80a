#!/usr/bin/env bash
# Builds the libFuzzer target with clang (AddressSanitizer, UBSan) in build/fuzz and runs it for
# HARBEK_FUZZ_SECONDS (60 by default) over a copy of the committed seed corpus, so new inputs and
# any crash file land in build/fuzz, never in tests/fuzz/corpus. Exits non-zero on a crash.
# Needs clang and its libFuzzer runtime (Debian 12: clang, libclang-rt-14-dev).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

seconds=${HARBEK_FUZZ_SECONDS:-60}
tree=build/fuzz
if ! command -v clang++ >/dev/null; then
  echo "fuzz: FAILED: clang++ not found (install clang and libclang-rt-14-dev)"
  exit 1
fi

mkdir -p "$tree"
cmake -S tests/fuzz -B "$tree" -DCMAKE_CXX_COMPILER=clang++ >"$tree/configure.log" 2>&1 ||
  { cat "$tree/configure.log"; echo "fuzz: FAILED: configure"; exit 1; }
cmake --build "$tree" -j"$(nproc)" || { echo "fuzz: FAILED: build"; exit 1; }

work=$tree/corpus-run
rm -rf "$work" "$tree"/crash-* "$tree"/leak-* "$tree"/timeout-* "$tree"/oom-*
mkdir -p "$work"
cp tests/fuzz/corpus/* "$work"/

set +e
"$tree"/fuzz_command_line -max_total_time="$seconds" -max_len=1024 -timeout=10 \
  -artifact_prefix="$tree/" -print_final_stats=1 "$work" >"$tree/fuzz.log" 2>&1
rc=$?
set -e
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$tree/fuzz.log")
if [ $rc -ne 0 ]; then
  tail -n 40 "$tree/fuzz.log"
  echo "fuzz: FAILED (exit $rc); the input is in $(ls "$tree"/crash-* "$tree"/timeout-* "$tree"/oom-* 2>/dev/null | tr '\n' ' ')"
  exit 1
fi
echo "fuzz: ${runs:-?} inputs in ${seconds} s, no property broken"
