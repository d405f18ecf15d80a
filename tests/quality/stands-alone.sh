#!/usr/bin/env bash
# Checks that the repository stands alone: a clone with nothing beside it holds all that its build,
# tests and notes need. Fails when
#  - a tracked file names the folder beside the repository that once held the test data (its
#    name is spelt in two pieces below, so that this file does not name it itself);
#  - a real database the tests or the benchmark name (Jackcess's file names, such as
#    delTestV2000.mdb, end in a year) is not committed in tests/data;
#  - a database in tests/data has no entry in tests/data/README.md, which records its origin.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

beside="../""shared"
failed=0
fail() {
  echo "stands-alone: FAILED: $1"
  failed=1
}

if outside=$(git grep -n -I -F "$beside" -- .); then
  printf '%s\n' "$outside"
  fail "these lines name $beside, outside the repository"
fi

mapfile -t used < <(git grep -h -o -I -E '[A-Za-z][A-Za-z0-9_-]*(19|20)[0-9]{2}\.mdb' -- tests bench \
  ':!tests/data' | sort -u)
[ ${#used[@]} -gt 0 ] || fail "found no database name in tests/ or bench/"
for name in "${used[@]}"; do
  if ! git ls-files --error-unmatch "tests/data/$name" >/dev/null 2>&1 || [ ! -f "tests/data/$name" ]; then
    fail "$name is used by the tests but not committed in tests/data"
  fi
done

for path in tests/data/*.mdb; do
  grep -q -F "\`${path#tests/data/}\`" tests/data/README.md || fail "$path has no entry in tests/data/README.md"
done

[ $failed -eq 0 ] || exit 1
echo "stands-alone: nothing names $beside; the ${#used[@]} databases the tests name are in tests/data"
