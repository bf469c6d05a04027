#!/bin/sh
# The virtual display and wine prefix of the end-to-end tests.
# display.sh start STATEDIR DRIVER...: starts Xvfb on a free display, records it
#   in STATEDIR, and runs DRIVER warm_up once so that the prefix exists.
# display.sh stop STATEDIR: stops wine's server of the prefix, then Xvfb.
set -u
action=$1 state=$2; shift 2
mkdir -p "$state"
export WINEPREFIX="$state/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case $action in
start)
  if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    kill "$(cat "$state/xvfb.pid")"
  fi
  rm -f "$state/display"
  # -displayfd picks a free display number and writes it once the server listens.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" >/dev/null 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
  [ -s "$state/display" ] || { echo "Xvfb did not start"; exit 1; }
  echo "Xvfb on :$(cat "$state/display")"
  DISPLAY=:$(cat "$state/display") LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8 /usr/lib/wine/wine64 "$@" 2>&1 |
    grep -v -e 'syswow64' -e 'has been updated' -e 'created the configuration'
  exit 0
  ;;
stop)
  wineserver -k 2>/dev/null
  [ -f "$state/xvfb.pid" ] && kill "$(cat "$state/xvfb.pid")" 2>/dev/null
  rm -f "$state/xvfb.pid" "$state/display"
  exit 0
  ;;
esac
exit 2
