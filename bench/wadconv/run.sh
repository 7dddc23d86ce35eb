#!/usr/bin/env bash
# Converts a generated Quake WAD of about 64 MiB and compares wadconv with `cp` of the same file in
# the same run: median wall time over RUNS runs of each, and peak memory. A second baseline, `dd`
# with conv=fsync, reads, writes and flushes the same bytes as wadconv does; cp on Linux copies
# inside the kernel and does not flush.
#
#   run.sh WADCONV MAKE_WADS WORK_FOLDER
set -euo pipefail
wadconv=$(realpath "$1")
make_wads=$(realpath "$2")
work=$3
runs=${RUNS:-7}
bytes=${WAD_BYTES:-67108864}

rm -rf "$work"
mkdir -p "$work/wine"
cd "$work"
export WINEPREFIX="$work/wine"
"$make_wads" --bytes "$bytes" --palette Bench.wad >/dev/null
input_bytes=$(stat -c %s Bench.wad)

# Runs one command under /usr/bin/time; prints "<wall seconds> <peak KiB>".
measure() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f %M -o peak.txt "$@" >/dev/null
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 )) $(cat peak.txt)"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >cp.txt
: >dd.txt
: >wadconv.txt
for _ in $(seq "$runs"); do
  rm -f Copy.wad Flushed.wad Bench.hlwad
  measure cp Bench.wad Copy.wad >>cp.txt
  measure dd if=Bench.wad of=Flushed.wad bs=1M conv=fsync status=none >>dd.txt
  measure "$wadconv" -wad2hl Bench.wad >>wadconv.txt
done
test -s Bench.hlwad

cp_us=$(cut -d' ' -f1 cp.txt | median)
dd_us=$(cut -d' ' -f1 dd.txt | median)
wc_us=$(cut -d' ' -f1 wadconv.txt | median)
cp_kib=$(cut -d' ' -f2 cp.txt | median)
wc_kib=$(cut -d' ' -f2 wadconv.txt | sort -n | tail -1)
input_kib=$(( input_bytes / 1024 ))

awk -v in_b="$input_bytes" -v out_b="$(stat -c %s Bench.hlwad)" -v runs="$runs" \
    -v cp_us="$cp_us" -v dd_us="$dd_us" -v wc_us="$wc_us" -v cp_kib="$cp_kib" -v wc_kib="$wc_kib" \
    -v in_kib="$input_kib" 'BEGIN {
  printf "wadconv benchmark: %.1f MiB WAD2 in, %.1f MiB WAD3 out, median of %d runs\n",
         in_b / 1048576, out_b / 1048576, runs
  printf "  %-10s %14s %16s\n", "", "wall time", "peak memory"
  printf "  %-10s %12.1f ms %12.1f MiB\n", "cp", cp_us / 1000, cp_kib / 1024
  printf "  %-10s %12.1f ms\n", "dd+fsync", dd_us / 1000
  printf "  %-10s %12.1f ms %12.1f MiB\n", "wadconv", wc_us / 1000, wc_kib / 1024
  printf "  %-10s %12.2fx cp %9.2fx input   (goals: <= 2x cp, <= 2x input)\n", "ratio",
         wc_us / cp_us, wc_kib / in_kib
  printf "  %-10s %12.2fx dd+fsync\n", "", wc_us / dd_us
}'
