#!/usr/bin/env bash
# Checks that every C and C++ file in the repository is laid out as .clang-format says; prints
# the files that are not and exits non-zero. To lay them out: clang-format -i <files>.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

if ! command -v clang-format >/dev/null; then
  echo "format: FAILED: clang-format not found (install clang-format)"
  exit 1
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
unformatted=()
for f in "${files[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -ne 0 ]; then
  printf '  %s\n' "${unformatted[@]}"
  echo "format: FAILED: ${#unformatted[@]} of ${#files[@]} files differ from .clang-format (clang-format -i them)"
  exit 1
fi
echo "format: ${#files[@]} files laid out as .clang-format says"
