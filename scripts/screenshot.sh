#!/usr/bin/env bash
# Takes a screenshot of the real Harbek window under Wine and Xvfb:
#   scripts/screenshot.sh [dpi] [out.png]      (default 96 and docs/harbek-window-<dpi>.png)
# The window is shown as it opens, with the system font and frame Wine draws at that DPI.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
dpi=${1:-96}
out=${2:-docs/harbek-window-$dpi.png}
bash scripts/setup.sh
. wine/windows-tree.sh  # the 32-bit build, or the x86-64 one where 32-bit code cannot run
cmake --preset "$windows_preset" >/dev/null
cmake --build --preset "$windows_preset" -j"$(nproc)" --target Harbek >/dev/null

export WINEPREFIX=$PWD/build/screenshot-prefix-$dpi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
export HARBEK_TREE=$windows_tree HARBEK_DPI=$dpi HARBEK_SHOT=$PWD/$out.raw.png
mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  set -eu
  wineserver -k 2>/dev/null || true
  wine/make-prefix.sh --headless
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$HARBEK_DPI" /f >/dev/null
  wineserver -w
  wine "$HARBEK_TREE/Harbek.exe" &
  sleep 6
  import -window root "$HARBEK_SHOT"
  wineserver -k'
# The desktop around the window is black: cut it away.
convert "$out.raw.png" -trim +repage "$out"
rm -f "$out.raw.png"
echo "screenshot: $out"
