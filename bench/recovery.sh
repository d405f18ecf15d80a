#!/usr/bin/env bash
# The recovery rate (bench/README.md), natively, in a minute or two: builds recovery_rate optimised
# and without sanitizers in build/recovery/tree, writes damaged copies of the databases in
# tests/data to build/recovery/copies and prints one table.
#   --verbose       also a line for each copy where Harbek got under 99 % of the limit
#   --salvage-time  also the salvage's reading of a 200 MiB database against a copy of its file
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

verbose=()
salvage=0
for arg in "$@"; do
  case $arg in
    --verbose) verbose=(--verbose) ;;
    --salvage-time) salvage=1 ;;
    *) echo "usage: bash bench/recovery.sh [--verbose] [--salvage-time]"; exit 2 ;;
  esac
done
for tool in mdb-tables mdb-export timeout; do
  command -v "$tool" >/dev/null || { echo "recovery: $tool not found (apt-get install mdbtools)"; exit 1; }
done

tree=build/recovery/tree
mkdir -p "$tree"
cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=Release -DHARBEK_SANITIZE=OFF >"$tree/configure.log" 2>&1 ||
  { cat "$tree/configure.log"; exit 1; }
cmake --build "$tree" --target recovery_rate -j"$(nproc)" >"$tree/build.log" 2>&1 ||
  { cat "$tree/build.log"; exit 1; }

rm -rf build/recovery/copies
"$tree/bench/recovery/recovery_rate" tests/data build/recovery/copies "${verbose[@]}"
if [ $salvage -eq 1 ]; then
  echo
  "$tree/bench/recovery/recovery_rate" --salvage-time tests/data/valuesV2003.mdb build/recovery/big
  rm -rf build/recovery/big
fi
