#!/usr/bin/env bash
# The benchmark: bash bench/run.sh (bench/README.md).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD data=$PWD/build/bench-data
work=$data/work big=$data/standin table=$data/table.txt wine=wine
export WINEPREFIX=$root/build/bench-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ja_JP.UTF-8
. wine/windows-tree.sh
tree=$root/$windows_tree

build() {
  bash scripts/setup.sh
  for preset in mingw "$windows_preset"; do  # figure 4 reads the shipped 32-bit build, mingw's
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)" --target Harbek JetComp harbek_bench copy_check_cost
  done
  rm -rf "$data"
  mkdir -p "$work" "$big"
  cp tests/data/jet4-compIndexTestV2000.mdb "$work/source.mdb"
}

winpath() { local p="Z:$1"; printf '%s' "${p//\//\\}"; }  # winepath would start Wine outside the display
bench() { timeout 300 $wine "$(winpath "$tree/bench/harbek_bench.exe")" "$1" "$(winpath "$table")" "$(winpath "$work")" "${@:2}"; }
seconds_of() { local t0=$EPOCHREALTIME; "$@"; awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.4f", b - a }'; }
rates() { awk 'BEGIN { for (i = 2; i < ARGC; i++) printf "%s%.1f", (i > 2 ? "," : ""), ARGV[1] / ARGV[i] }' "$@"; }
load() { cut -d' ' -f1-3 /proc/loadavg; }
print_table() {  # in the figures' order, whatever order they ran in
  printf '\nMachine: %s cores; load average at start %s, at end %s\nPrograms run as: %s\n' "$(nproc)" "$2" "$3" "$4"
  head -n 2 "$1" && tail -n +3 "$1" | sort -s -n -k1,1
}

# Figure 5: cp, cp + fsync and JetComp.exe copy the same file (real bytes, a Jet signature at 4..19),
# three rounds per size, the order rotating each round; each copy after a sync, deleted after it.
standin() {
  local size mib source copy=$big/cp.mdb round out jet plain synced
  local -A peak=()
  bench standin-launch
  for size in 256MiB:256 1GiB:1024; do
    mib=${size#*:} source=$big/source-${size%:*}.mdb jet=() plain=() synced=()
    printf '\x00\x01\x00\x00Standard Jet DB\x00' >"$source"
    yes 'Filler for the benchmark: only the first twenty bytes look like a Jet database. ' | head -c $(((mib << 20) - 20)) >>"$source"
    for round in 0 1 2 3 4 5 6 7 8; do
      sync
      case $(((round % 3 + round / 3) % 3)) in
        0) plain+=("$(seconds_of cp "$source" "$copy")") ;;
        1) synced+=("$(seconds_of sh -c 'cp "$1" "$2" && sync "$2"' sh "$source" "$copy")") ;;
        2) out=$(bench standin-copy "$(winpath "$source")" "$(winpath "$copy")") || return 1
           jet+=("${out% *}") peak[$mib]+="${peak[$mib]:+,}${out#* }"
           echo "  JetComp.exe ${size%:*}: ${out% *} s, peak working set ${out#* } MiB"
           cmp -s "$source" "$copy" || echo "5 Stand-in copy ${size%:*}: ERROR the copy differs from the source" >>"$table" ;;
      esac
      rm -f "$copy"
    done
    rm -f "$source"
    bench row "5 Stand-in copy ${size%:*} vs cp (MiB/s)" ">= 0.9x" "$(rates "$mib" "${jet[@]}")" "$(rates "$mib" "${plain[@]}")" \
      "5   the same vs cp + fsync (MiB/s)" "" "$(rates "$mib" "${jet[@]}")" "$(rates "$mib" "${synced[@]}")"
  done
  bench row "5 JetComp.exe peak MiB, 1 GiB vs 256 MiB" "<= 1.1x" "${peak[1024]}" "${peak[256]}"
}

# Figure 6: the program's own check (every value of copy and original) of the largest test
# database, and of a 200 MiB one grown from it with real rows and long values; its peak memory
# there against the count-only reading's plus 32 bytes a row read.
copy_check() {
  local rc=0 peak base rows
  check() { timeout 900 wine "$(winpath "$tree/bench/copy_check_cost.exe")" "$@"; }
  cp tests/data/valuesV2003.mdb "$big/largest.mdb"
  check make "$(winpath "$big/largest.mdb")" "$(winpath "$big/200MiB.mdb")" 200 || return 1
  check "$(winpath "$table")" "largest test db" "$(winpath "$big/largest.mdb")" "$(winpath "$tree/JetComp.exe")" >/dev/null || rc=1
  peak=$(check "$(winpath "$table")" "200 MiB db" "$(winpath "$big/200MiB.mdb")" "$(winpath "$tree/JetComp.exe")") || rc=1
  read -r base rows <<<"$(check count "$(winpath "$big/200MiB.mdb")")"
  bench row "6 Check's peak MiB vs count-only + 32 B/row" "<= 1x" "$peak" \
    "$(awk -v b="$base" -v r="$rows" 'BEGIN { printf "%.2f", b + 32 * r / 1048576 }')"
  return $rc
}

inside() {  # everything Wine does, under one display
  trap 'rm -rf "$big"' EXIT  # the big files go whatever happens
  local status=0 figure start end start32= preload build="the 32-bit build, as it ships"
  [ "$windows_preset" = mingw ] || build="the x86-64 build under 64-bit Wine: this machine cannot run 32-bit code"
  start=$(load)
  wine/make-prefix.sh --headless >/dev/null 2>&1
  # The prefix's wineserver stays up between the measurements, so that its CPU time can be followed.
  wineserver -f -p & export HARBEK_BENCH_WINESERVER_PID=$!
  for _ in $(seq 50); do [[ $(readlink "/proc/$!/cwd") == */server-* ]] && break || sleep 0.1; done
  for figure in binary-size startup exit-noticed wait-cost; do bench $figure || status=1; done
  echo "5. The stand-in copying 256 MiB and 1 GiB, against cp"
  standin || status=1
  echo "6. The check of the compactor's copy, against the stand-in's copy of the same file"
  copy_check || status=1
  wineserver -k || true
  end=$(load)
  # Where 32-bit code cannot run natively, figures 2 and 3 of the shipped build under 32-bit Wine
  # emulated by qemu-user, in a 32-bit prefix of its own (the 64-bit one has no 32-bit DLLs).
  if [ "$windows_preset" != mingw ] && preload=$(bash wine/emulate-i386.sh build/i386-trapno); then
    echo "2-3. The shipped 32-bit build, emulated by qemu-user"
    start32=$(load)
    ( export HARBEK_I386_PRELOAD=$preload HARBEK_WINDOWS_PRESET=mingw WINEPREFIX=$root/build/bench-prefix32
      tree=$root/build/mingw table=$data/table-32bit.txt wine=/usr/lib/wine/wine rc=0
      wine/make-prefix.sh --headless >/dev/null 2>&1
      for figure in startup exit-noticed; do bench $figure || rc=1; done
      /usr/lib/wine/wineserver -k || true
      exit $rc ) || status=1
  fi
  print_table "$table" "$start" "$end" "$build"
  [ ! -f "$data/table-32bit.txt" ] || { print_table "$data/table-32bit.txt" "$start32" "$(load)" \
    "the 32-bit build, as it ships, under 32-bit Wine emulated by qemu-user (figures 2 and 3 only; every process start is slower than where 32-bit code runs natively)"; }
  return $status
}

[ "${1:-}" = --inside ] && { inside; exit; }
build
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inside
