#!/usr/bin/env bash
# Starts the 64-bit calculator under wine from its bundle. On the user's display
# when there is one; otherwise on a virtual display, where it saves a
# screenshot of the window to build/win64/screenshots/norvane.png and ends the
# program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dist.sh >/dev/null
bundle=$PWD/dist/norvane-win64
build=$PWD/build/win64
prefix=$build/wineprefix-run
wine_sh=$PWD/scripts/wine.sh

if [ -n "${DISPLAY:-}" ] && xprop -root >/dev/null 2>&1; then
  echo "run: norvane on $DISPLAY (close its window to end)"
  cd "$bundle" && exec "$wine_sh" run "$prefix" norvane.exe
fi

echo "run: no display, starting a virtual one"
display=$build/run-display
shots=$build/screenshots
mkdir -p "$shots"
cleanup() {
  "$wine_sh" stop "$prefix" || true
  "$wine_sh" display-stop "$display" || true
}
trap cleanup EXIT
"$wine_sh" display-start "$display"
export DISPLAY=:$(cat "$display/display")
(cd "$bundle" && exec "$wine_sh" run --display "$display" "$prefix" norvane.exe) </dev/null >"$display/norvane.log" 2>&1 &
window=
# The first run makes the prefix (a minute on a slow machine).
for _ in $(seq 1800); do
  window=$(xwininfo -root -children 2>/dev/null | awk '/"Norvane 3.0"/ {print $1; exit}')
  [ -n "$window" ] && [ "$(xwininfo -id "$window" 2>/dev/null | awk '/Map State/ {print $3}')" = IsViewable ] && break
  window=
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "run: the calculator's window did not appear (see $display/norvane.log)" >&2
  exit 1
fi
sleep 1  # let it paint
import -window "$window" "$shots/norvane.png"
echo "run: screenshot of the calculator saved to build/win64/screenshots/norvane.png; ending it"
