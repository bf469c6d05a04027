#!/bin/sh
# Runs one end-to-end case under wine on the display and in the prefix that
# display.sh started.
# run-case.sh STATEDIR DRIVER CASE ARGS...
state=$1; shift
exec "$(dirname "$0")/../../scripts/wine.sh" run --display "$state" "$state/wineprefix" "$@"
