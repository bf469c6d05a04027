#!/usr/bin/env bash
# Starts the 64-bit calculator under wine64 from its bundle. On the user's
# display when there is one; otherwise on a virtual display (Xvfb), where it
# saves a screenshot of the window to build/norvane.png and ends the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dist.sh >/dev/null
bundle=$PWD/dist/norvane-win64
export WINEPREFIX=$PWD/build/wineprefix-run WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Dates in the French short format, as a French user sees them.
export LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
wine=/usr/lib/wine/wine64
mkdir -p "$WINEPREFIX"

if [ -n "${DISPLAY:-}" ] && xprop -root >/dev/null 2>&1; then
  echo "run: norvane on $DISPLAY (close its window to end)"
  cd "$bundle" && exec "$wine" norvane.exe
fi

echo "run: no display, starting Xvfb"
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" </dev/null >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")
# No window manager here: wine draws the frames itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
(cd "$bundle" && exec "$wine" norvane.exe) </dev/null >/dev/null 2>&1 &
window=
for _ in $(seq 300); do
  window=$(xwininfo -root -children 2>/dev/null | awk '/"Norvane 3.0"/ {print $1; exit}')
  [ -n "$window" ] && [ "$(xwininfo -id "$window" 2>/dev/null | awk '/Map State/ {print $3}')" = IsViewable ] && break
  window=
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "run: the calculator's window did not appear" >&2
  exit 1
fi
sleep 1  # let it paint
import -window "$window" build/norvane.png
echo "run: screenshot of the calculator saved to build/norvane.png; ending it"
