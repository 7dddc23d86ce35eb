#!/usr/bin/env bash
# A demo of Korvane: a WINEPREFIX whose texture folder holds generated Quake WADs, one run that
# converts them all, then a second run that finds everything up to date. A real window where a
# display exists, Qt's offscreen platform otherwise.
#
#   korvane.sh BUILD_FOLDER DEMO_FOLDER
set -euo pipefail
build=$(realpath "$1")
demo=$2

rm -rf "$demo"
textures="$demo/drive_c/program files/worldcraft/textures"
mkdir -p "$textures"
export WINEPREFIX
WINEPREFIX=$(realpath "$demo")
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
fi

seed=1
for name in Base Castle Dungeon "Lava Pit" "Metal&Rust" Sky_100%; do
  "$build/tools/make-wads" --seed "$seed" --bytes 200000 "$textures/$name.wad" >/dev/null
  seed=$((seed + 1))
done
"$build/tools/make-wads" --seed 9 --palette "$textures/Runes.wad" >/dev/null

show_run() {
  echo "== korvane, run $1 (WINEPREFIX=$WINEPREFIX) =="
  "$build/programs/korvane"
  echo "-- successful.log --"
  tr -d '\r' <"$textures/successful.log"
  echo
  echo
}

show_run 1
show_run 2
echo "== texture folder =="
ls -l "$textures" "$textures/logs"
