#!/usr/bin/env bash
# Builds Harbek.exe and starts it under Wine on this display, with the compactor stand-in beside
# it, or with Microsoft's JetComp.exe when its path is given:  scripts/run.sh [path/to/JetComp.exe]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display (DISPLAY is not set); run it in a desktop session, or headless with: xvfb-run -a bash scripts/run.sh" >&2
  exit 1
fi

bash scripts/setup.sh
. wine/windows-tree.sh  # the 32-bit build, or the x86-64 one where 32-bit code cannot run
cmake --preset "$windows_preset" >/dev/null
cmake --build --preset "$windows_preset" -j"$(nproc)" --target Harbek JetComp

folder=build/run
mkdir -p "$folder"
cp "$windows_tree"/Harbek.exe "$folder/"
if [ $# -ge 1 ]; then
  cp "$1" "$folder/JetComp.exe"
else
  cp "$windows_tree"/JetComp.exe "$folder/"
  echo "run: using the compactor stand-in: it copies the database, it does not compact it"
fi

export WINEPREFIX=$PWD/build/wineprefix-run
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
wine/make-prefix.sh
exec wine "$folder/Harbek.exe"
