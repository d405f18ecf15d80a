#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UBSan) in build/fuzz and runs each for
# HARBEK_FUZZ_SECONDS (30 by default):
#  - fuzz_command_line over a copy of the committed seed corpus in tests/fuzz/corpus;
#  - fuzz_jet_reader over copies of the real databases of up to 256 KiB in the test-data folder
#    (HARBEK_TESTDATA_DIR, by default tests/data).
# New inputs and any crash file land in build/fuzz, never in the repository. Exits non-zero on a
# crash or a broken property. Needs clang and its libFuzzer runtime (Debian 12: clang,
# libclang-rt-14-dev).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

seconds=${HARBEK_FUZZ_SECONDS:-30}
testdata=${HARBEK_TESTDATA_DIR:-tests/data}
tree=build/fuzz
if ! command -v clang++ >/dev/null; then
  echo "fuzz: FAILED: clang++ not found (install clang and libclang-rt-14-dev)"
  exit 1
fi

mkdir -p "$tree"
cmake -S tests/fuzz -B "$tree" -DCMAKE_CXX_COMPILER=clang++ >"$tree/configure.log" 2>&1 ||
  { cat "$tree/configure.log"; echo "fuzz: FAILED: configure"; exit 1; }
cmake --build "$tree" -j"$(nproc)" || { echo "fuzz: FAILED: build"; exit 1; }
rm -rf "$tree"/*crash-* "$tree"/*leak-* "$tree"/*timeout-* "$tree"/*oom-*

# fuzz TARGET MAX_LEN SEEDS...: runs TARGET over a fresh copy of the seeds.
fuzz() {
  local target=$1 max_len=$2
  shift 2
  local work=$tree/corpus-$target
  rm -rf "$work"
  mkdir -p "$work"
  cp "$@" "$work"/
  set +e
  "$tree/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -artifact_prefix="$tree/$target-" -print_final_stats=1 "$work" >"$tree/$target.log" 2>&1
  local rc=$?
  set -e
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$tree/$target.log")
  if [ $rc -ne 0 ]; then
    tail -n 40 "$tree/$target.log"
    echo "fuzz: $target FAILED (exit $rc); the input is in" \
      "$(ls "$tree/$target"-* 2>/dev/null | tr '\n' ' ')"
    exit 1
  fi
  echo "fuzz: $target: ${runs:-?} inputs in ${seconds} s, no property broken"
}

fuzz fuzz_command_line 1024 tests/fuzz/corpus/*

mapfile -t seeds < <(find "$testdata" -maxdepth 1 -name '*.mdb' -size -257k | sort)
if [ ${#seeds[@]} -eq 0 ]; then
  echo "fuzz: FAILED: no database of up to 256 KiB in $testdata to seed fuzz_jet_reader"
  exit 1
fi
fuzz fuzz_jet_reader $((256 * 1024)) "${seeds[@]}"
