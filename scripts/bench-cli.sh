#!/usr/bin/env bash
# bench-cli.sh [LINES]: norvane-cli --modele on a file of places (default
# 100,000 lines, "date longitude latitude" anywhere on Earth), read from a file
# and written to a file, in two files: every line on one day (a survey), and
# a different day on each line (the model's coefficients computed for every
# line); then --modele=wmmhr (degree 133) on the one-day file. Three runs each; the table takes the least CPU time (user + system)
# and the least elapsed time of the three. Run by `make bench` after the
# file conversion benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-100000}
program=build/linux/programs/norvane-cli/norvane-cli
[ -x "$program" ] || { echo "build the linux preset first (make bench)" >&2; exit 1; }
work=build/linux/bench/cli
mkdir -p "$work"

# The places: a fixed linear congruential sequence, so every run reads the same
# files; the days of the second file run through 1900-2029.
awk -v n="$lines" 'BEGIN { s = 12345
  for (i = 0; i < n; i++) {
    s = (s * 1103515245 + 12345) % 2147483648; lon = -180 + 360 * s / 2147483648
    s = (s * 1103515245 + 12345) % 2147483648; lat = -89 + 178 * s / 2147483648
    printf "2026-12-08 %.6f %.6f\n", lon, lat > "/dev/stdout"
    printf "%04d-%02d-%02d %.6f %.6f\n", 1900 + i % 130, 1 + i % 12, 1 + i % 28, lon, lat > "/dev/stderr" } }' \
  > "$work/one-day.txt" 2> "$work/day-per-line.txt"

# best NAME INPUT [MODEL]: three runs of norvane-cli --modele[=MODEL]; prints the least CPU and elapsed seconds.
best() {
  local name=$1 input=$2 model=${3:+=$3}
  local cpu=999999 wall=999999
  for _ in 1 2 3; do
    /usr/bin/time -f '%U %S %e' -o "$work/$name.time" "$program" "--modele$model" "$input" > "$work/$name.out"
    read -r user sys elapsed < "$work/$name.time"
    cpu=$(awk -v a="$cpu" -v u="$user" -v s="$sys" 'BEGIN { c = u + s; print (c < a ? c : a) }')
    wall=$(awk -v a="$wall" -v e="$elapsed" 'BEGIN { print (e < a ? e : a) }')
  done
  [ "$(grep -vc '^\*' "$work/$name.out")" -eq "$lines" ] || { echo "norvane-cli lost or failed lines" >&2; exit 1; }
  echo "$cpu $wall"
}

read -r one_cpu one_wall < <(best one-day "$work/one-day.txt")
read -r per_cpu per_wall < <(best day-per-line "$work/day-per-line.txt")
# WMMHR2025 answers from 2025 to 2030 only: the one-day file.
read -r hr_cpu hr_wall < <(best wmmhr-one-day "$work/one-day.txt" wmmhr)

echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -srm), $(nproc) CPUs"
echo "# norvane-cli --modele, $lines lines, every line with a result"
awk -v n="$lines" -v oc="$one_cpu" -v ow="$one_wall" -v pc="$per_cpu" -v pw="$per_wall" -v hc="$hr_cpu" -v hw="$hr_wall" 'BEGIN {
  printf "| File | CPU s | elapsed s | lines/s (CPU) | us per line (CPU) |\n|---|---:|---:|---:|---:|\n"
  printf "| one day (2026-12-08) | %.2f | %.2f | %.0f | %.2f |\n", oc, ow, n / oc, 1e6 * oc / n
  printf "| a different day on each line | %.2f | %.2f | %.0f | %.2f |\n", pc, pw, n / pc, 1e6 * pc / n
  printf "| one day, --modele=wmmhr | %.2f | %.2f | %.0f | %.2f |\n", hc, hw, n / hc, 1e6 * hc / n }'
