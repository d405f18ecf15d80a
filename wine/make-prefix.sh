#!/usr/bin/env bash
# Makes the private Wine prefix the tests run in (about 15 s the first time), under the display
# already set, and applies its settings.
# With --headless it also applies prefix.reg, the settings for a display with no window manager
# (Xvfb); a desktop's window manager should keep managing the windows.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/windows-tree.sh"
export WINEPREFIX=${WINEPREFIX:-$here/../$windows_tree/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i
  wineserver -w
fi
# Debian's Wine does not find its own fonts (fonts-wine) by itself; without Marlett the caption
# buttons draw as letters.
for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
  [ -f "/usr/share/wine/fonts/$font" ] && cp -n "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/" || true
done
if [ "${1:-}" = --headless ]; then
  wine regedit /S "Z:${here//\//\\}\\prefix.reg"
fi
wineserver -w
