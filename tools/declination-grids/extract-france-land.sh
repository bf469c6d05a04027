#!/usr/bin/env bash
# Writes the land of metropolitan France and Corsica that decides which nodes
# of the declination grids hold data: GMT's country polygons (DCW) for France,
# as longitude latitude rings. Needs GMT and its DCW data
# (scripts/install-deps.sh maps).
# Usage: extract-france-land.sh [output file]   (default: france-land.txt beside this script)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/france-land.txt}
command -v gmt >/dev/null || { echo "extract-france-land.sh: GMT missing (bash scripts/install-deps.sh maps)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export GMT_USERDIR=$work GMT_TMPDIR=$work

# The DCW has one resolution: -D changes nothing for -E.
gmt coast -EFR -M > "$work/france.txt"
dcw=$(dpkg-query -W -f='${Version}' gmt-dcw 2>/dev/null || echo unknown)

# -EFR is metropolitan France with Corsica and the islands along its coasts;
# the overseas departments have codes of their own. A ring reaching outside
# 6 W to 10 E, 41 N to 52 N would not be metropolitan: it is left out, loudly.
{
  echo "# Land of metropolitan France and Corsica: the country polygons of the Digital"
  echo "# Chart of the World, package gmt-dcw $dcw, written by GMT $(gmt --version) with"
  echo "#   gmt coast -EFR -M"
  echo "# WGS84 longitude and latitude in degrees; each \">\" line starts a ring. The"
  echo "# rings combine by the even-odd rule; the DCW gives the Llivia enclave twice, as a"
  echo "# hole and as a ring, so it counts as land. Made by extract-france-land.sh."
  awk '
    function flush() {
      if (n == 0) return
      if (keep) { print header; for (k = 1; k <= n; ++k) print line[k] }
      else printf "extract-france-land.sh: left out %s (outside metropolitan France)\n", header > "/dev/stderr"
      n = 0
    }
    /^>/ { flush(); header = $0; keep = 1; next }
    /^#/ { next }
    { line[++n] = $0; if ($1 < -6 || $1 > 10 || $2 < 41 || $2 > 52) keep = 0 }
    END { flush() }
  ' "$work/france.txt"
} > "$work/out.txt"
mv "$work/out.txt" "$out"
echo "extract-france-land.sh: wrote $out ($(grep -c '^>' "$out") rings)"
