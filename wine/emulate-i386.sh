#!/usr/bin/env bash
# Makes Debian's 32-bit Wine start on a machine that runs 64-bit code only, for the smoke of the
# shipped 32-bit build: installs qemu-user 10 (from <release>-backports when the release has an
# older one, pinned so that nothing else comes from there), builds the trap-number library
# (trapno-preload/) into <build folder>, registers i386 ELF programs with binfmt_misc (mounting it
# if needed) and checks that `wine --version` then runs through the 32-bit loader.
# The registered interpreter (i386-interpreter) emulates only when HARBEK_I386_PRELOAD names the
# library, so that every other 32-bit program still fails as before; see the README to undo.
# Prints the library's path; says in one line why not and exits 1 where it cannot be done.
#   usage: emulate-i386.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
entry=harbek-i386
interpreter=/usr/local/libexec/harbek-i386
binfmt=/proc/sys/fs/binfmt_misc
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

say() { echo "emulate-i386: $*" >&2; }
cannot() { say "$* (the 32-bit smoke does not run)"; exit 1; }
have_root() { [ "$(id -u)" -eq 0 ] || { command -v sudo >/dev/null && sudo -n true 2>/dev/null; }; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
need_root() { have_root || cannot "$1 needs root or sudo, and neither is available"; }
runs_wine32() { env -u HARBEK_I386_PRELOAD "$@" /usr/lib/wine/wine --version >/dev/null 2>&1; }

[ -x /usr/lib/wine/wine ] || cannot "no 32-bit Wine (/usr/lib/wine/wine)"
if runs_wine32; then say "32-bit code runs natively here: nothing to emulate"; exit 1; fi

# qemu-user 10: older ones ignore MAP_FIXED_NOREPLACE (Wine's start takes a minute) and crash.
qemu_major() { /usr/bin/qemu-i386 --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p'; }
if [ "$(qemu_major)" -lt 10 ] 2>/dev/null || [ -z "$(qemu_major)" ]; then
  need_root "installing qemu-user"
  . /etc/os-release
  suite=${VERSION_CODENAME:?}-backports
  if ! grep -qs -- "$suite" /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
    # The same mirror and keyring as the release's own entry (a stanza whose suites name it).
    release_entry() {
      awk -v release="$VERSION_CODENAME" -v field="$1" '
        BEGIN { RS = ""; FS = "\n" }
        { suites = ""; value = ""
          for (i = 1; i <= NF; i++) {
            if ($i ~ /^Suites:/) suites = " " substr($i, 8) " "
            if (index($i, field ":") == 1) value = substr($i, length(field) + 2)
          }
          if (suites ~ " " release " ") { sub(/^ +/, "", value); split(value, first, " "); print first[1]; exit } }' /etc/apt/sources.list.d/*.sources 2>/dev/null
    }
    uri=$(release_entry URIs)
    keyring=$(release_entry Signed-By)
    [ -n "$uri" ] && [ -n "$keyring" ] ||
      cannot "no deb822 entry for $VERSION_CODENAME under /etc/apt/sources.list.d to take the mirror from"
    say "adding $suite ($uri) for qemu-user only"
    printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' "$uri" "$suite" "$keyring" |
      as_root tee "/etc/apt/sources.list.d/$suite.sources" >/dev/null
    only_qemu_user=$(printf '\nPackage: *\nPin: release n=%s\nPin-Priority: -1\n' "$suite")
  fi
  # qemu-user from there; when the suite is ours, nothing else.
  printf 'Package: qemu-user\nPin: release n=%s\nPin-Priority: 990\n%s\n' "$suite" "${only_qemu_user:-}" |
    as_root tee "/etc/apt/preferences.d/$suite-qemu-user" >/dev/null
  say "installing qemu-user from $suite"
  as_root apt-get update -q >/dev/null || cannot "apt-get update failed"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user >/dev/null ||
    cannot "cannot install qemu-user from $suite"
  [ "$(qemu_major)" -ge 10 ] 2>/dev/null || cannot "qemu-user 10 or later is not available (found: ${VERSION_CODENAME}'s $(qemu_major))"
fi

# The trap-number library, against the i386 libc that wine32 brings.
library=$out/libtrapno.so
if [ ! -f "$library" ] || [ "$here/trapno-preload/trapno.c" -nt "$library" ]; then
  gcc -m32 -nostdlib -shared -fPIC -O2 -fno-stack-protector -fvisibility=hidden -Wall -Wextra \
      -o "$library" "$here/trapno-preload/trapno.c" /lib/i386-linux-gnu/libc.so.6 ||
    cannot "cannot build the trap-number library"
fi

# binfmt_misc: mounted where it is not, then the entry (replaced when its interpreter differs).
if [ ! -e "$binfmt/register" ]; then
  need_root "mounting binfmt_misc"
  as_root mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || cannot "cannot mount binfmt_misc on $binfmt"
fi
cmp -s "$here/i386-interpreter" "$interpreter" 2>/dev/null ||
  { need_root "installing $interpreter"; as_root install -D -m 755 "$here/i386-interpreter" "$interpreter"; }
if [ -e "$binfmt/$entry" ] && ! grep -qx "interpreter $interpreter" "$binfmt/$entry"; then
  need_root "replacing the binfmt_misc entry $entry"
  echo -1 | as_root tee "$binfmt/$entry" >/dev/null
fi
if [ ! -e "$binfmt/$entry" ]; then
  need_root "registering i386 programs with binfmt_misc"
  say "registering i386 ELF programs with binfmt_misc as $entry ($interpreter)"
  # (A test command running at the same time may have registered it meanwhile.)
  echo ":$entry:M::$i386_magic:$i386_mask:$interpreter:" | as_root tee "$binfmt/register" >/dev/null 2>&1 ||
    [ -e "$binfmt/$entry" ] || cannot "binfmt_misc refused the registration"
fi
grep -qx enabled "$binfmt/$entry" || { need_root "enabling $entry"; echo 1 | as_root tee "$binfmt/$entry" >/dev/null; }

runs_wine32 HARBEK_I386_PRELOAD="$library" || cannot "32-bit Wine still does not start under qemu-i386"
echo "$library"
