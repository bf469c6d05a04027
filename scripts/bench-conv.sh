#!/usr/bin/env bash
# bench-conv.sh [LINES]: one file of WGS84 points (longitude latitude, default
# 1,000,000 lines over mainland France) converted to NTF Lambert II etendu by
# geokern-conv and by PROJ's cs2cs (EPSG:4326 -> EPSG:27572; -r because EPSG
# puts the latitude first), both reading the same file and writing a file.
# Three runs each; the table takes the least CPU time (user + system) and the
# least elapsed time of the three. Run by `make bench` after bench_engine.
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-1000000}
program=build/linux/programs/geokern-conv/geokern-conv
[ -x "$program" ] || { echo "build the linux preset first (make bench)" >&2; exit 1; }
command -v cs2cs >/dev/null || { echo "cs2cs missing (package proj-bin)" >&2; exit 1; }
work=build/linux/bench/conv
mkdir -p "$work"

# The points: a fixed linear congruential sequence, so every run reads the same file.
awk -v n="$lines" 'BEGIN { s = 12345
  for (i = 0; i < n; i++) {
    s = (s * 1103515245 + 12345) % 2147483648; lon = -4.8 + 13.2 * s / 2147483648
    s = (s * 1103515245 + 12345) % 2147483648; lat = 42.3 + 8.8 * s / 2147483648
    printf "%.8f %.8f\n", lon, lat } }' > "$work/wgs84.txt"

# best NAME COMMAND...: runs the command three times; prints the least CPU and elapsed seconds.
best() {
  local name=$1; shift
  local cpu=999999 wall=999999
  for _ in 1 2 3; do
    /usr/bin/time -f '%U %S %e' -o "$work/$name.time" "$@" < "$work/wgs84.txt" > "$work/$name.out"
    read -r user sys elapsed < "$work/$name.time"
    cpu=$(awk -v a="$cpu" -v u="$user" -v s="$sys" 'BEGIN { c = u + s; print (c < a ? c : a) }')
    wall=$(awk -v a="$wall" -v e="$elapsed" 'BEGIN { print (e < a ? e : a) }')
  done
  echo "$cpu $wall"
}

read -r conv_cpu conv_wall < <(best conv "$program" WGS84GG NTFL2E)
read -r proj_cpu proj_wall < <(best cs2cs cs2cs -r -f %.3f EPSG:4326 EPSG:27572)

# The two outputs agree to the engine's millimetre rounding.
[ "$(wc -l < "$work/conv.out")" -eq "$lines" ] && [ "$(wc -l < "$work/cs2cs.out")" -eq "$lines" ] ||
  { echo "a program lost lines" >&2; exit 1; }
difference=$(paste "$work/conv.out" "$work/cs2cs.out" | awk '{
  dx = $1 - $3; dy = $2 - $4; if (dx < 0) dx = -dx; if (dy < 0) dy = -dy
  if (dx > m) m = dx; if (dy > m) m = dy } END { printf "%.3f", m * 1000 }')

echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -srm), $(nproc) CPUs, PROJ $(cs2cs 2>&1 | head -n 1 | sed 's/^Rel\. *//')"
echo "# $lines lines, WGS84GG -> NTFL2E; largest difference between the outputs: $difference mm"
awk -v n="$lines" -v gc="$conv_cpu" -v gw="$conv_wall" -v pc="$proj_cpu" -v pw="$proj_wall" 'BEGIN {
  printf "| Program | CPU s | elapsed s | lines/s (CPU) | ns per line (CPU) |\n|---|---:|---:|---:|---:|\n"
  printf "| geokern-conv WGS84GG NTFL2E | %.2f | %.2f | %.0f | %.0f |\n", gc, gw, n / gc, 1e9 * gc / n
  printf "| cs2cs -r -f %%.3f EPSG:4326 EPSG:27572 | %.2f | %.2f | %.0f | %.0f |\n", pc, pw, n / pc, 1e9 * pc / n
  printf "\nThroughput ratio (geokern-conv / cs2cs, CPU): %.2fx (elapsed: %.2fx); target 6x\n", pc / gc, pw / gw }'
