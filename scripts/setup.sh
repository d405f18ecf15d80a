#!/usr/bin/env bash
# Installs what building, running and testing Harbek needs on Debian 12, when it is missing:
# the native and MinGW-w64 compilers (32- and 64-bit), GoogleTest, Wine (32- and 64-bit), Xvfb,
# the Japanese locale and font.
# Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(cmake make g++ libgtest-dev googletest g++-mingw-w64-i686-posix
          g++-mingw-w64-x86-64-posix
          wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils locales fonts-ipafont-gothic
          imagemagick mdbtools clang libclang-rt-14-dev clang-tidy clang-format valgrind)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else echo "setup: '$*' needs root; run this as root or install sudo" >&2; exit 1
  fi
}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine needs the generated locale to open files whose names hold Japanese characters.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  as_root sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
