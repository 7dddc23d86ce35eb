#!/usr/bin/env bash
# Converts a generated Quake WAD of 64 MiB and compares wadconv, side by side in the same run, with
# `cp` of the same file and with `cp` followed by `sync` of the copy, which gives the copy the same
# durability as wadconv's flushed output: median wall time over RUNS runs of each, and wadconv's
# peak memory. Then the same for a WAD of 1 GiB (LARGE_RUNS runs), whose point is the peak memory:
# wadconv copies textures through a bounded buffer, so its memory does not grow with the file.
#
#   run.sh WADCONV MAKE_WADS WORK_FOLDER
#
# Stops with a message and status 1 as soon as one run fails.
set -euo pipefail
wadconv=$(realpath "$1")
make_wads=$(realpath "$2")
work=$3
runs=${RUNS:-7}
large_runs=${LARGE_RUNS:-3}
bytes=${WAD_BYTES:-67108864}
large_bytes=${LARGE_WAD_BYTES:-1073741824}
time_goal=1.3
memory_goal_mib=16

fail() {
  echo "bench-wadconv: $*" >&2
  exit 1
}

[ -x /usr/bin/time ] || fail "GNU time (/usr/bin/time, Debian package \"time\") is needed for peak memory"

rm -rf "$work"
mkdir -p "$work/wine"
cd "$work"
export WINEPREFIX="$work/wine"

# Runs one command under GNU time; appends "<wall microseconds> <peak KiB>" to the file $1.
measure() {
  local into=$1 start end
  shift
  start=$(date +%s%N)
  if ! /usr/bin/time -f %M -o peak.txt "$@" >run.log 2>&1; then
    cat run.log >&2
    fail "this run failed in $work: $*"
  fi
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 )) $(tail -1 peak.txt)" >>"$into"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One WAD of about $2 bytes, measured $3 times each way; prints one block of figures under the
# title $1.
compare() {
  local title=$1 size=$2 count=$3
  rm -f Bench.wad Bench.hlwad Copy.wad Synced.wad cp.txt synced.txt wadconv.txt
  "$make_wads" --bytes "$size" --palette --extras Bench.wad >/dev/null ||
    fail "make-wads could not write a WAD of $size bytes"
  sync Bench.wad
  for _ in $(seq "$count"); do
    rm -f Copy.wad Synced.wad Bench.hlwad
    measure cp.txt cp Bench.wad Copy.wad
    # The plain copy's dirty pages must not be flushed during the next measurement.
    sync Copy.wad
    measure synced.txt sh -c 'cp Bench.wad Synced.wad && sync Synced.wad'
    measure wadconv.txt "$wadconv" -wad2hl Bench.wad
    grep -q "Wrote \"Bench.hlwad\"" run.log || fail "wadconv did not report its output"
  done
  [ -s Bench.hlwad ] || fail "wadconv left no Bench.hlwad"

  awk -v title="$title" -v in_b="$(stat -c %s Bench.wad)" -v out_b="$(stat -c %s Bench.hlwad)" \
      -v runs="$count" -v time_goal="$time_goal" -v memory_goal="$memory_goal_mib" \
      -v cp_us="$(cut -d' ' -f1 cp.txt | median)" \
      -v synced_us="$(cut -d' ' -f1 synced.txt | median)" \
      -v wc_us="$(cut -d' ' -f1 wadconv.txt | median)" \
      -v cp_kib="$(cut -d' ' -f2 cp.txt | median)" \
      -v wc_kib="$(cut -d' ' -f2 wadconv.txt | sort -n | tail -1)" 'BEGIN {
    printf "%s: %.1f MiB WAD2 in, %.1f MiB WAD3 out, median of %d runs\n",
           title, in_b / 1048576, out_b / 1048576, runs
    printf "  %-10s %12s %10s %14s %14s\n", "", "wall time", "x cp", "x cp+sync", "peak memory"
    printf "  %-10s %9.1f ms %9.2fx %13.2fx %10.1f MiB\n", "cp", cp_us / 1000, 1, cp_us / synced_us,
           cp_kib / 1024
    printf "  %-10s %9.1f ms %9.2fx %13.2fx\n", "cp+sync", synced_us / 1000, synced_us / cp_us, 1
    printf "  %-10s %9.1f ms %9.2fx %13.2fx %10.1f MiB (highest of the runs)\n", "wadconv",
           wc_us / 1000, wc_us / cp_us, wc_us / synced_us, wc_kib / 1024
    if (time_goal > 0)
      printf "  goal: wadconv at most %.1fx cp+sync (%s)\n", time_goal,
             wc_us / synced_us <= time_goal ? "met" : "MISSED"
    printf "  goal: peak memory under %d MiB (%s)\n", memory_goal,
           wc_kib < memory_goal * 1024 ? "met" : "MISSED"
  }'
}

echo "bench-wadconv on $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "load before: $(uptime | sed 's/.*load average/load average/')"
compare "Speed and memory" "$bytes" "$runs"
# The time goal is set for the 64 MiB WAD; the large one shows that memory stays bounded.
time_goal=0
compare "Memory on a large WAD" "$large_bytes" "$large_runs"
rm -f Bench.wad Bench.hlwad Copy.wad Synced.wad
