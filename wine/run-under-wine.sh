#!/usr/bin/env bash
# Runs a Windows program of the cross build under the build tree's private Wine prefix.
# ctest calls it for every test of the MinGW tree; it must itself run under a display (the test
# command wraps the whole ctest run in one xvfb-run, and makes the prefix there first).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/windows-tree.sh"
export WINEPREFIX=${WINEPREFIX:-$here/../$windows_tree/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Code page 932 and file names in Japanese both need the generated ja_JP.UTF-8 locale.
export LC_ALL=ja_JP.UTF-8
if [ -z "${DISPLAY:-}" ]; then
  echo "run-under-wine.sh: no DISPLAY; run the tests through tests/run-all.sh (it starts Xvfb)" >&2
  exit 2
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$here/make-prefix.sh" --headless
fi
exec wine "$@"
