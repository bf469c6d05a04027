#!/bin/sh
# The virtual display and wine prefix of the end-to-end tests.
# display.sh start STATEDIR DRIVER...: starts Xvfb on a free display, records it
#   in STATEDIR, and runs DRIVER warm_up once so that the prefix exists.
# display.sh stop STATEDIR: stops wine's server of the prefix, then Xvfb.
set -u
action=$1 state=$2; shift 2
mkdir -p "$state"
export WINEPREFIX="$state/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop_xvfb() {
  [ -f "$state/xvfb.pid" ] || return 0
  pid=$(cat "$state/xvfb.pid")
  kill "$pid" 2>/dev/null
  # Its display number is free again only once it has gone.
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  rm -f "$state/xvfb.pid" "$state/display"
}

case $action in
start)
  wineserver -k 2>/dev/null
  stop_xvfb
  # -displayfd picks a free display number and writes it once the server listens.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
  if [ ! -s "$state/display" ] || ! kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    echo "Xvfb did not start:"; cat "$state/xvfb.log"; exit 1
  fi
  echo "Xvfb on :$(cat "$state/display")"
  # A server that stays up between the cases saves each of them its start.
  wineserver -p </dev/null >/dev/null 2>&1
  # No window manager on this display: unmanaged windows, or wine waits two
  # seconds for one at each window it hides.
  DISPLAY=:$(cat "$state/display") timeout 90 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f </dev/null >"$state/reg.log" 2>&1
  # Wine's own processes started now stay with the server: not on CTest's pipe.
  DISPLAY=:$(cat "$state/display") LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8 timeout 90 /usr/lib/wine/wine64 "$@" \
    </dev/null >"$state/warm_up.log" 2>&1
  status=$?
  grep -v -e 'syswow64' -e 'has been updated' -e 'created the configuration' "$state/warm_up.log"
  exit $status
  ;;
stop)
  wineserver -k 2>/dev/null
  stop_xvfb
  exit 0
  ;;
esac
exit 2
