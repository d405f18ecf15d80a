#!/usr/bin/env bash
# The benchmark, in one command: bench/run.sh
# Builds Harbek.exe, the stand-in and the benchmark's programs (Release), then measures under a
# Wine prefix of its own (build/bench-prefix), inside one Xvfb display, and prints one table.
# Its files go to build/bench-data; the big copy files are deleted at the end.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
data=$root/build/bench-data
bin=$data/bin
work=$data/work
export WINEPREFIX=$root/build/bench-prefix
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
. wine/windows-tree.sh
programs="harbek_bench copy_check_cost busy_wait_window bare_window bare_window_manifest bare_window_controls"

# "/a/b" -> "Z:\a\b", by hand: winepath would start a Wine session outside the display.
winpath() { local p="Z:$1"; printf '%s' "${p//\//\\}"; }

# Copies a tree's Harbek.exe, the benchmark's programs and the test compactor into a folder.
install_tree() {
  mkdir -p "$2"
  cp "$1/Harbek.exe" "$1/tests/e2e/test_compactor.exe" "$2/"
  for exe in $programs; do cp "$1/bench/$exe.exe" "$2/"; done
}

build() {
  local jobs; jobs=$(nproc)
  bash scripts/setup.sh
  # Harbek ships as the 32-bit build: its size and imports are read from it. The other figures run
  # the tree this machine's Wine can start (the same, or the x86-64 build; see windows-tree.sh).
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw -j"$jobs" --target Harbek bare_window
  [ "$windows_preset" = mingw ] || cmake --preset "$windows_preset" >/dev/null
  cmake --build --preset "$windows_preset" -j"$jobs" --target Harbek JetComp harbek_bench copy_check_cost
  rm -rf "$data"
  mkdir -p "$bin/shipped" "$work"
  cp build/mingw/Harbek.exe build/mingw/bench/bare_window.exe "$bin/shipped/"
  install_tree "$windows_tree" "$bin"
  cp "$windows_tree/JetComp.exe" "$bin/"
  cp tests/data/jet4-compIndexTestV2000.mdb "$work/source.mdb"
  cp tests/data/testIndexCodesV1997.mdb "$work/largest.mdb"
  chmod u+w "$work/source.mdb" "$work/largest.mdb"

  # Where 32-bit code cannot run natively: the start-up and exit figures of the shipped build
  # again, under 32-bit Wine emulated by qemu-user (wine/emulate-i386.sh), in a table of their own.
  local preload
  if [ "$windows_preset" != mingw ] && preload=$(bash wine/emulate-i386.sh build/i386-trapno); then
    cmake --build --preset mingw -j"$jobs" --target harbek_bench copy_check_cost
    install_tree build/mingw "$bin/emulated32"
    echo "$preload" >"$data/i386-preload"
  fi
}

table=$data/table.txt
bench() { timeout 300 wine "$(winpath "$bin/harbek_bench.exe")" "$@"; }
seconds_of() { local t0=$EPOCHREALTIME; "$@"; awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.4f", b - a }'; }
# "mib t1 t2..." -> the rates "r1,r2,..." in MiB/s.
rates() { awk 'BEGIN { for (i = 2; i < ARGC; i++) printf "%s%.1f", (i > 2 ? "," : ""), ARGV[1] / ARGV[i] }' "$@"; }
load() { cut -d' ' -f1-3 /proc/loadavg; }
# The table file under the machine's cores, the load at the start and the end, and the build run.
print_table() {
  echo "Machine: $(nproc) cores; load average at start $2, at end $3"
  echo "Programs run as: $4"
  head -n 2 "$1"
  tail -n +3 "$1" | sort -s -n -k1,1  # in the figures' order, whatever order they ran in
}

# The prefix's wineserver: the one whose folder is named after the prefix's device and inode.
wineserver_pid() {
  local device inode suffix pid
  read -r device inode < <(stat -c '%D %i' "$WINEPREFIX")
  suffix=$(printf 'server-%s-%x' "$device" "$inode")
  for _ in $(seq 50); do  # wineserver -p returns before the server has settled in its folder
    for pid in $(pgrep wineserver); do
      [[ $(readlink "/proc/$pid/cwd" 2>/dev/null) == */"$suffix" ]] && { echo "$pid"; return; }
    done
    sleep 0.1
  done
}

# Figure 5: Linux cp, cp followed by fsync, and JetComp.exe under Wine copy the same file onto
# the same file system, three rounds per size, the order rotating each round: this disk slows
# down as gigabytes are written, and that must not fall on one of them alone. Nothing is dropped
# from the cache; each copy starts after a sync and is deleted after it. The files are real bytes
# (no holes) with a Jet signature at bytes 4..19.
standin() {
  local folder=$data/standin label bytes source round i copy out
  local -a order=(cp cpsync jetcomp) jet plain synced
  local -A peak=()
  mkdir -p "$folder"
  bench standin-launch "$(winpath "$table")" "$(winpath "$work")"
  for label in 256MiB 1GiB; do
    case $label in 256MiB) bytes=$((256 << 20)) ;; 1GiB) bytes=$((1 << 30)) ;; esac
    source=$folder/source-$label.mdb
    { printf '\x00\x01\x00\x00Standard Jet DB\x00'
      yes 'Filler for the benchmark: only the first twenty bytes look like a Jet database. ' | head -c $((bytes - 20))
    } >"$source"
    jet=() plain=() synced=()
    for round in 0 1 2; do
      for i in 0 1 2; do
        copy=$folder/cp.mdb
        sync
        case ${order[(i + round) % 3]} in
          cp) plain+=("$(seconds_of cp "$source" "$copy")") ;;
          cpsync) synced+=("$(seconds_of sh -c 'cp "$1" "$2" && sync "$2"' sh "$source" "$copy")") ;;
          jetcomp)
            out=$(bench standin-copy "$(winpath "$table")" "$(winpath "$work")" "$(winpath "$source")" "$(winpath "$copy")") || return 1
            jet+=("${out% *}") peak[$label]+="${peak[$label]:+,}${out#* }"
            echo "  JetComp.exe $label: ${out% *} s, peak working set ${out#* } MiB"
            cmp -s "$source" "$copy" || echo "5 Stand-in copy $label: ERROR the copy differs from the source" >>"$table" ;;
        esac
        rm -f "$copy"
      done
    done
    rm -f "$source"
    bench row "$(winpath "$table")" \
      "5 Stand-in copy $label vs cp (MiB/s)" ">= 0.9x" "$(rates $((bytes >> 20)) "${jet[@]}")" "$(rates $((bytes >> 20)) "${plain[@]}")" \
      "5   the same vs cp + fsync (MiB/s)" "" "$(rates $((bytes >> 20)) "${jet[@]}")" "$(rates $((bytes >> 20)) "${synced[@]}")"
  done
  bench row "$(winpath "$table")" "5 JetComp.exe peak MiB, 1 GiB vs 256 MiB" "<= 1.1x" "${peak[1GiB]}" "${peak[256MiB]}"
}

# Figure 6: the largest test database, then the same with pages no table names appended up to
# 100 MiB (2048-byte pages of zeros): those pages must cost the check nothing.
copy_check() {
  local folder=$data/standin big=$data/standin/largest-100MiB.mdb small_peak big_peak
  check() { timeout 600 wine "$(winpath "$bin/copy_check_cost.exe")" "$(winpath "$table")" "$1" "$(winpath "$2")" \
    "$(winpath "$bin/JetComp.exe")" "$(winpath "$folder")"; }
  mkdir -p "$folder"
  cp "$work/largest.mdb" "$big"
  head -c $(((100 << 20) - $(stat -c %s "$big"))) /dev/zero >>"$big"   # 100 MiB is whole pages
  small_peak=$(check "largest test db" "$work/largest.mdb") && big_peak=$(check "padded to 100 MiB" "$big")
  local rc=$?
  rm -f "$big"
  bench row "$(winpath "$table")" "6 Check's peak MiB, 100 MiB vs largest" "<= 1.1x" "${big_peak:-}" "${small_peak:-}"
  return $rc
}

# Figures 2 and 3 of the shipped 32-bit build under emulated 32-bit Wine, into table-32bit.txt,
# in a 32-bit prefix of its own (build/bench-prefix32): the 64-bit one holds no 32-bit system DLLs.
emulated32() {
  local status=0 figure
  export HARBEK_I386_PRELOAD HARBEK_WINDOWS_PRESET=mingw WINEPREFIX=$root/build/bench-prefix32
  HARBEK_I386_PRELOAD=$(cat "$data/i386-preload")
  wine/make-prefix.sh --headless >/dev/null 2>&1
  for figure in startup exit-noticed; do
    timeout 300 /usr/lib/wine/wine "$(winpath "$bin/emulated32/harbek_bench.exe")" "$figure" \
      "$(winpath "$data/table-32bit.txt")" "$(winpath "$work")" || status=1
  done
  /usr/lib/wine/wineserver -k || true
  return $status
}

# Everything Wine does happens here, under one display.
inside() {
  trap 'rm -rf "$data/standin"' EXIT  # the big files go whatever happens
  local status=0 figure start end start32= build="the 32-bit build, as it ships"
  start=$(load)
  [ "$windows_preset" = mingw ] || build="the x86-64 build under 64-bit Wine: this machine cannot run 32-bit code"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  wine regedit /S "$(winpath "$root/wine/prefix.reg")"
  wineserver -w
  wineserver -p  # stays up between the measurements, so its CPU time can be followed
  HARBEK_BENCH_WINESERVER_PID=$(wineserver_pid || true)
  export HARBEK_BENCH_WINESERVER_PID

  for figure in binary-size startup exit-noticed wait-cost; do
    bench "$figure" "$(winpath "$table")" "$(winpath "$work")" || status=1
  done
  echo "5. The stand-in copying 256 MiB and 1 GiB, against cp"
  standin || status=1
  echo "6. The check of the compactor's copy, against the stand-in's copy of the same file"
  copy_check || status=1
  wineserver -k || true
  end=$(load)
  if [ -f "$data/i386-preload" ]; then
    echo "2-3. The shipped 32-bit build, emulated by qemu-user"
    start32=$(load)
    ( emulated32 ) || status=1
  fi
  echo
  print_table "$table" "$start" "$end" "$build"
  [ -f "$data/table-32bit.txt" ] && { echo; print_table "$data/table-32bit.txt" "$start32" "$(load)" \
    "the 32-bit build, as it ships, under 32-bit Wine emulated by qemu-user (figures 2 and 3 only; every process start is slower than where 32-bit code runs natively)"; }
  return $status
}

if [ "${1:-}" = --inside ]; then
  inside
else
  build
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inside
fi
