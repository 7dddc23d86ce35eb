#!/bin/sh
# `null_display_prefix.sh make PREFIX` makes a Wine prefix that draws its windows with Wine's null
# display driver, which needs no X server; `null_display_prefix.sh remove PREFIX` stops its Wine
# and deletes it (a prefix takes several hundred megabytes). Wine picks the display driver when its
# desktop process starts, so the prefix's Wine is stopped once the setting is in.
set -e
export WINEPREFIX="$2" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case "$1" in
  make)
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    wineserver -k
    wineserver -w
    ;;
  remove)
    if [ -d "$WINEPREFIX" ]; then
      wineserver -k 2>/dev/null || true
      wineserver -w 2>/dev/null || true
      rm -rf "$WINEPREFIX"
    fi
    ;;
  *)
    echo "usage: null_display_prefix.sh make|remove PREFIX" >&2
    exit 2
    ;;
esac
