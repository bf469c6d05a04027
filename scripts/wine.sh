#!/usr/bin/env bash
# The wine that runs this project's Windows programs, 64-bit and 32-bit: `make
# run`, the end-to-end tests and the Windows presets' test programs (their
# CTest emulator) all go through this script. Each keeps its prefix in its
# build tree.
#
#   wine.sh run [--display DIR] PREFIX PROGRAM [ARGS...]
#       Runs PROGRAM in PREFIX, which is made and set up on first use. With
#       --display, on the virtual display that display-start recorded in DIR;
#       otherwise on $DISPLAY, or on none (console programs need none).
#   wine.sh start PREFIX      sets PREFIX up and starts its wine server, which then
#                             stays between programs (each start saves a second)
#   wine.sh stop PREFIX       ends every program of PREFIX and its wine server
#   wine.sh display-start DIR starts a virtual display (Xvfb) on a free number
#                             and records it in DIR
#   wine.sh display-stop DIR  ends that display
#
# A 32-bit program on a kernel that cannot run 32-bit x86 code is not run: the
# reason goes to standard error and the status is 77, which CTest reports as
# a skipped test (SKIP_RETURN_CODE).
set -euo pipefail

# The 64-bit loader (the `wine` wrapper looks for the 32-bit one first, which
# cannot run here) and its server, which is not on the PATH.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
# The 32-bit loader (package wine32:i386), which the 64-bit one starts for
# 32-bit programs in the same prefix.
wine32=/usr/lib/wine/wine
skipped=77
# The dialogs ask for "MS Sans Serif" 8 pt. Windows draws it from the bitmap font
# sserife.fon; wine's copy of that font (package fonts-wine) is found only in the
# prefix's Fonts folder, and without it wine substitutes DejaVu Sans, a fifth
# wider, which cuts the dialogs' labels.
dialog_font=/usr/share/wine/fonts/sserife.fon

die() { echo "wine.sh: $*" >&2; exit 1; }

# Whether FILE is a 32-bit x86 Windows program: the machine field (0x14c) of
# its PE header, whose offset is at 0x3c.
is_pe32() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$offset" ] || return 1
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  [ "$machine" = 014c ]
}

# Whether the kernel runs 32-bit x86 code, asked of the 32-bit loader itself:
# status 126 when the kernel refuses it (Exec format error). Any other failure
# is a broken installation, not a skip.
runs_32bit() {
  local answer status=0
  if [ ! -x "$wine32" ]; then
    echo "SKIP: $wine32 is missing: 32-bit programs need wine32:i386, which scripts/install-deps.sh installs (it says when the package indexes do not allow it)" >&2
    exit $skipped
  fi
  answer=$("$wine32" --version 2>&1) || status=$?
  [ $status -eq 0 ] && return 0
  [ $status -eq 126 ] || die "$wine32 --version failed ($status): $answer"
  return 1
}

require_32bit() {
  runs_32bit && return 0
  echo "SKIP: this kernel cannot run 32-bit x86 programs ($wine32: Exec format error); $(basename "$1") not run" >&2
  exit $skipped
}

# The environment of every program: no debug output, no offer to install Mono
# or Gecko, and the French locale of the users (dates in the French short
# format, Windows-1252).
environment() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
}

# Makes the prefix on first use and gives it the dialog font. MANAGED is N on a
# virtual display: without a window manager wine frames the windows itself,
# or it waits two seconds for a manager at each window it hides. Y gives the
# windows back to the manager of a real display; empty leaves the setting.
# Programs started side by side (ctest -j) wait for each other here.
prepare() {
  local managed=$1 mark=$WINEPREFIX/.unmanaged
  [ -f "$dialog_font" ] || die "$dialog_font is missing (package fonts-wine; scripts/install-deps.sh installs it)"
  mkdir -p "$WINEPREFIX"
  exec 9>"$WINEPREFIX/.lock"
  flock 9
  # A prefix made before wine32 was installed has no 32-bit system folder, and
  # every 32-bit program fails in it: made again where 32-bit programs run.
  if [ -f "$WINEPREFIX/system.reg" ] && [ -x "$wine32" ] &&
     [ -z "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2>/dev/null)" ] && runs_32bit; then
    "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    "$wineserver" -w </dev/null >/dev/null 2>&1 || true
    find "$WINEPREFIX" -mindepth 1 -maxdepth 1 ! -name .lock -exec rm -rf {} +
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init </dev/null >/dev/null 2>&1 || die "could not make the prefix $WINEPREFIX"
    "$wineserver" -w
  fi
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  [ -f "$fonts/sserife.fon" ] || cp "$dialog_font" "$fonts/"
  if [ "$managed" = N ] && [ ! -f "$mark" ]; then
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 && touch "$mark"
  elif [ "$managed" = Y ] && [ -f "$mark" ]; then
    "$wine" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f </dev/null >/dev/null 2>&1 && rm -f "$mark"
  fi
  exec 9>&-
}

display_stop() {
  local dir=$1 pid
  [ -f "$dir/xvfb.pid" ] || return 0
  pid=$(cat "$dir/xvfb.pid")
  kill "$pid" 2>/dev/null || true
  # Its display number is free again only once it has gone.
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  rm -f "$dir/xvfb.pid" "$dir/display"
}

[ $# -ge 1 ] || die "usage: wine.sh run|start|stop|display-start|display-stop ..."
command=$1; shift
case $command in
run)
  display_dir=
  if [ "${1:-}" = --display ]; then display_dir=$2; shift 2; fi
  [ $# -ge 2 ] || die "usage: wine.sh run [--display DIR] PREFIX PROGRAM [ARGS...]"
  if is_pe32 "$2"; then require_32bit "$2"; fi
  environment "$1"; shift
  if [ -n "$display_dir" ]; then
    [ -s "$display_dir/display" ] || die "no virtual display in $display_dir (wine.sh display-start)"
    export DISPLAY=:$(cat "$display_dir/display")
    prepare N
  elif [ -n "${DISPLAY:-}" ]; then
    prepare Y
  else
    prepare ""
  fi
  exec "$wine" "$@"
  ;;
start)
  [ $# -eq 1 ] || die "usage: wine.sh start PREFIX"
  environment "$1"
  prepare ""
  # Persistent for 30 s after its last program: enough between two test cases,
  # gone soon after the last even if nobody calls stop.
  "$wineserver" -p30 </dev/null >/dev/null 2>&1 || true
  ;;
stop)
  [ $# -eq 1 ] || die "usage: wine.sh stop PREFIX"
  environment "$1"
  [ -d "$WINEPREFIX" ] || exit 0
  "$wineserver" -k </dev/null >/dev/null 2>&1 || true
  "$wineserver" -w </dev/null >/dev/null 2>&1 || true
  ;;
display-start)
  [ $# -eq 1 ] || die "usage: wine.sh display-start DIR"
  dir=$1
  mkdir -p "$dir"
  display_stop "$dir"
  # -displayfd picks a free display number and writes it once the server listens.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
  echo $! >"$dir/xvfb.pid"
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
  if [ ! -s "$dir/display" ] || ! kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null; then
    cat "$dir/xvfb.log" >&2
    die "Xvfb did not start"
  fi
  ;;
display-stop)
  [ $# -eq 1 ] || die "usage: wine.sh display-stop DIR"
  display_stop "$1"
  ;;
*)
  die "unknown command $command"
  ;;
esac
