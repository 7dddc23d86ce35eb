#!/bin/sh
# Makes the Wine prefix $1 draw its windows with Wine's null display driver, which needs no X
# server. Wine picks the driver when its desktop process starts, so the prefix's Wine is stopped
# once the setting is in; a prefix that has it already is left as it is.
set -e
export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ready="$WINEPREFIX/null-display-driver"
[ -f "$ready" ] && exit 0
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -k
wineserver -w
touch "$ready"
