#!/bin/sh
# Times pellisk on a generated 256 MiB map against grep and cp doing comparable work on the same
# file, as medians of several runs, and reports pellisk's peak resident memory, also for one line
# of 200 MiB.
set -eu
pellisk=$(realpath "$1")
folder=$(realpath -m "$2")
runs=${RUNS:-5}
mib=${MAP_MIB:-256}
here=$(dirname "$0")
rm -rf "$folder"
mkdir -p "$folder"
trap 'rm -rf "$folder"' EXIT INT TERM
echo "generating a $mib MiB map in $folder ..."
sh "$here/make_map.sh" "$mib" > "$folder/source.map"

# Wall time of one command in seconds; its peak resident memory in KiB goes to $folder/rss.
timed() {
  sync
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$folder/rss" sh -c "$1"
  end=$(date +%s%N)
  echo "$start $end" | awk '{ printf "%.4f\n", ($2 - $1) / 1e9 }'
}
median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

cd "$folder"
: > pellisk.times; : > grep.times; : > cp.times; : > grepsync.times; : > pellisk.rss
for run in $(seq "$runs"); do
  cp source.map bench.map
  timed "'$pellisk' bench.map 2>/dev/null" >> pellisk.times
  cat rss >> pellisk.rss
  rm -f out
  timed "LC_ALL=C grep -v -i mapversion source.map > out" >> grep.times
  rm -f out
  timed "cp source.map out" >> cp.times
  rm -f out
  timed "LC_ALL=C grep -v -i mapversion source.map > out && sync out" >> grepsync.times
  rm -f out
  echo "run $run of $runs done"
done
if LC_ALL=C grep -q -i mapversion bench.map; then
  echo "pellisk left mapversion lines behind" >&2
  exit 1
fi

p=$(median < pellisk.times)
g=$(median < grep.times)
c=$(median < cp.times)
s=$(median < grepsync.times)
rss=$(median < pellisk.rss)
echo
echo "pellisk on a $mib MiB map, median of $runs runs (pellisk flushes its output to disk)"
printf '%-44s %8s s\n' "pellisk" "$p"
printf '%-44s %8s s   pellisk / grep        = %.2f  (goal <= 1.2)\n' \
  "LC_ALL=C grep -v -i mapversion FILE > OUT" "$g" "$(echo "$p $g" | awk '{ print $1 / $2 }')"
printf '%-44s %8s s   pellisk / cp          = %.2f\n' "cp FILE OUT" "$c" \
  "$(echo "$p $c" | awk '{ print $1 / $2 }')"
printf '%-44s %8s s   pellisk / grep + sync = %.2f  (goal <= 1.0)\n' "grep as above, then sync OUT" "$s" \
  "$(echo "$p $s" | awk '{ print $1 / $2 }')"
printf '%-44s %8.1f MiB (goal <= 8)\n' "pellisk peak resident memory" \
  "$(echo "$rss" | awk '{ print $1 / 1024 }')"

# One line of 200 MiB without a line end, its key at the very end, so that what was written of it
# must be taken back: memory must not grow with a line's length.
{ head -c 209715200 /dev/zero | tr '\0' 'a'; printf 'mapversion'; } > long.map
timed "'$pellisk' long.map" > /dev/null
if [ -s long.map ]; then
  echo "pellisk kept the 200 MiB line that holds the key" >&2
  exit 1
fi
printf '%-44s %8.1f MiB (goal < 16)\n' "pellisk peak memory, one 200 MiB line" \
  "$(awk '{ print $1 / 1024 }' rss)"
