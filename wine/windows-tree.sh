# Sourced: picks the MinGW tree whose programs this machine's Wine can run, and the Wine for it.
# Harbek ships as a 32-bit program (the mingw tree). Some virtual machines run 64-bit Linux code
# only: there 32-bit Wine cannot start (execve gives "Exec format error"), and the Windows tests,
# the benchmark and scripts/run.sh use the same sources built for x86-64 (the mingw64 tree)
# under 64-bit Wine instead. Debian's `wine` would still pick its 32-bit loader, so a `wine`
# that starts the 64-bit one goes first on the PATH. There the test command still runs a smoke of the
# 32-bit build, forcing HARBEK_WINDOWS_PRESET=mingw with 32-bit Wine emulated by qemu-user
# (emulate-i386.sh); the check below ignores that emulation, which HARBEK_I386_PRELOAD turns on.
#   sets: windows_preset (mingw | mingw64), windows_tree (build/<preset>, from the source folder)
windows_tree_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export PATH=$PATH:/usr/lib/wine
if [ -n "${HARBEK_WINDOWS_PRESET:-}" ]; then
  windows_preset=$HARBEK_WINDOWS_PRESET
elif [ ! -x /usr/lib/wine/wine64 ] || env -u HARBEK_I386_PRELOAD /usr/lib/wine/wine --version >/dev/null 2>&1; then
  windows_preset=mingw
else
  windows_preset=mingw64
fi
# The 64-bit-only `wine` is on the PATH exactly when the mingw64 tree is picked.
windows_path=":$PATH:"
windows_path=${windows_path//:$windows_tree_here\/wine64-only:/:}
windows_path=${windows_path#:}
windows_path=${windows_path%:}
[ "$windows_preset" = mingw64 ] && windows_path=$windows_tree_here/wine64-only:$windows_path
export PATH=$windows_path
export HARBEK_WINDOWS_PRESET=$windows_preset
windows_tree=build/$windows_preset
