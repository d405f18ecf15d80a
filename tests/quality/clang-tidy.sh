#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the portable core (main_window/,
# standard/, jet_reader/, platform/platform.cpp and the headers they include), using the compile
# commands of a configure-only native tree in build/clang-tidy. Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

tree=build/clang-tidy
if ! command -v clang-tidy >/dev/null; then
  echo "clang-tidy: FAILED: clang-tidy not found (install clang-tidy)"
  exit 1
fi

mkdir -p "$tree"
cmake -S . -B "$tree" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DHARBEK_SANITIZE=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$tree/configure.log" 2>&1 ||
  { cat "$tree/configure.log"; echo "clang-tidy: FAILED: configure"; exit 1; }

files=(main_window/*.cpp standard/*.cpp jet_reader/*.cpp platform/platform.cpp)
set +e
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p "$tree" --quiet >"$tree/findings.log" 2>"$tree/stderr.log"
rc=$?
set -e
findings=$(grep -c ': \(warning\|error\): ' "$tree/findings.log" || true)
if [ $rc -ne 0 ] || [ "$findings" -ne 0 ]; then
  cat "$tree/findings.log"
  grep -v 'warnings\? generated\|Suppressed\|Use -header-filter\|Use -system-headers' "$tree/stderr.log" || true
  echo "clang-tidy: FAILED: $findings finding(s) in ${#files[@]} files (exit $rc)"
  exit 1
fi
echo "clang-tidy: ${#files[@]} files of the core, no findings"
