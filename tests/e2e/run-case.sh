#!/bin/sh
# Runs one end-to-end case under wine64 on the display that display.sh started.
# run-case.sh STATEDIR DRIVER CASE ARGS...
state=$1; shift
[ -s "$state/display" ] || { echo "no virtual display (display.sh start)"; exit 1; }
export DISPLAY=:$(cat "$state/display") WINEPREFIX="$state/wineprefix" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
exec /usr/lib/wine/wine64 "$@"
