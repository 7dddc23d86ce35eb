#!/bin/sh
# Runs pellisk on a freshly generated demo map and shows what changed.
set -eu
pellisk=$(realpath "$1")
folder=$(realpath -m "$2")
here=$(dirname "$0")
rm -rf "$folder"
mkdir -p "$folder"
sh "$here/../bench/pellisk/make_map.sh" 1 > "$folder/Demo Level.map"
cd "$folder"
count() {
  printf '%-7s %8s lines, %5s with mapversion (any case)\n' "$1" "$(wc -l < 'Demo Level.map')" \
    "$(LC_ALL=C grep -c -i mapversion 'Demo Level.map' || true)"
}
count before:
echo "\$ pellisk \"Demo Level\""
"$pellisk" '"Demo Level"'
count after:
echo "files left in $folder:"
ls -1
