#!/usr/bin/env bash
# Makes the private Wine prefix the tests run in (about 15 s the first time), under the display
# already set, and applies its settings.
# Its settings (prefix.reg) suit a display with no window manager.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../../build/mingw/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
export PATH=$PATH:/usr/lib/wine
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i
  wineserver -w
fi
wine regedit /S "Z:${here//\//\\}\\prefix.reg"
wineserver -w
