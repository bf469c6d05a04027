#!/bin/sh
# The end-to-end tests' fixture: a virtual display and a wine prefix in STATEDIR,
# shared by the cases one after the other (scripts/wine.sh sets them up).
# display.sh start STATEDIR DRIVER...: starts the display and the prefix's wine
#   server, and runs DRIVER warm_up once so that the prefix is ready.
# display.sh stop STATEDIR: ends the prefix's programs and server, then the display.
set -u
wine_sh=$(dirname "$0")/../../scripts/wine.sh
action=$1 state=$2; shift 2
prefix=$state/wineprefix

case $action in
start)
  # Whatever a broken earlier run left behind.
  "$wine_sh" stop "$prefix"
  "$wine_sh" display-start "$state" || exit 1
  echo "Xvfb on :$(cat "$state/display")"
  "$wine_sh" start "$prefix" || exit 1
  # Wine's own processes started now stay with the server: not on CTest's pipe.
  timeout 240 "$wine_sh" run --display "$state" "$prefix" "$@" </dev/null >"$state/warm_up.log" 2>&1
  status=$?
  grep -v -e 'syswow64' -e 'has been updated' -e 'created the configuration' "$state/warm_up.log"
  exit $status
  ;;
stop)
  "$wine_sh" stop "$prefix"
  "$wine_sh" display-stop "$state"
  exit 0
  ;;
esac
exit 2
