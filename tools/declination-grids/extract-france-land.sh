#!/usr/bin/env bash
# Writes the land of metropolitan France and Corsica that decides which nodes
# of the declination grids hold data: GMT's country polygons (DCW) for France,
# then the islands of GMT's full-resolution shorelines (GSHHG) that those
# polygons leave out, as longitude latitude rings. Needs GMT, its DCW and its
# GSHHG data (scripts/install-deps.sh maps).
# Usage: extract-france-land.sh [output file]   (default: france-land.txt beside this script)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/france-land.txt}
command -v gmt >/dev/null || { echo "extract-france-land.sh: GMT missing (bash scripts/install-deps.sh maps)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export GMT_USERDIR=$work GMT_TMPDIR=$work

# The islands: France's territorial sea is 12 nautical miles wide.
reach_km=22.2
# France's neighbours by land and by sea, as the DCW names them.
neighbours=GB,JE,GG,BE,LU,DE,CH,IT,MC,ES,AD
# Where the shoreline islands are looked for, and the conformal projection
# (Lambert, standard parallels 44 N and 49 N; scale within 0.3 % over France)
# in which their distances are measured, in km.
region=-7/11/40.5/52.5
projection="-JL3/46.5/44/49/1c -C -Fk"

# The DCW has one resolution: -D changes nothing for -E.
gmt coast -EFR -M > france-dcw.txt
gmt coast -E$neighbours -M > neighbours.txt
# Les Minquiers belong to Jersey but are missing from its DCW polygons; the
# reef, as a box around its rocks, counts as Jersey's land here.
printf '%s\n' "> Les Minquiers (Jersey)" "-2.26 48.86" "-1.98 48.86" "-1.98 49.01" "-2.26 49.01" >> neighbours.txt
# Full resolution when installed, else high.
resolution=f
gmt coast -R$region -Df -A0/1/1 -W -M > shore.txt 2>/dev/null || resolution=h
[ $resolution = f ] || gmt coast -R$region -Dh -A0/1/1 -W -M > shore.txt
awk -f "$here/join-shore-pieces.awk" shore.txt > islands.txt
awk -v OPEN=1 -f "$here/join-shore-pieces.awk" shore.txt > coasts.txt
for f in france-dcw neighbours islands coasts; do
  gmt mapproject $f.txt -R$region $projection --GMT_HISTORY=false > $f-km.txt
done
# The coasts' vertices in km beside their longitudes and latitudes.
paste coasts-km.txt coasts.txt | awk -F'\t' '/^>/ { print ">"; next } { print $1, $2, $3, $4 }' > coasts-both.txt
awk -v REACH=$reach_km -v FRANCE=france-dcw-km.txt -v FOREIGN=neighbours-km.txt -v ISLANDS=islands-km.txt \
  -v SHORES=coasts-both.txt -f "$here/select-islands.awk" /dev/null > chosen.txt

dcw=$(dpkg-query -W -f='${Version}' gmt-dcw 2>/dev/null || echo unknown)
# The package that holds the shorelines GMT read.
shore_file=$(gmt --show-sharedir)/coast/binned_GSHHS_$resolution.nc
shore_package=$(dpkg -S "$shore_file" 2>/dev/null | cut -d: -f1 || true)
shore_package="${shore_package:-unknown} $(dpkg-query -W -f='${Version}' "${shore_package:-none}" 2>/dev/null || echo)"

# -EFR is metropolitan France with Corsica and the islands along its coasts;
# the overseas departments have codes of their own. A ring reaching outside
# 6 W to 10 E, 41 N to 52 N would not be metropolitan: it is left out, loudly.
{
  echo "# Land of metropolitan France and Corsica. First the country polygons of the"
  echo "# Digital Chart of the World, package gmt-dcw $dcw, written by GMT $(gmt --version) with"
  echo "#   gmt coast -EFR -M"
  echo "# then the islands they leave out: the closed level-1 shorelines of GSHHG,"
  echo "# resolution $resolution (package $shore_package), written with"
  echo "#   gmt coast -R$region -D$resolution -A0/1/1 -W -M"
  echo "# and joined across GMT's bins, that are nearer to France's polygons than to those"
  echo "# of $neighbours (gmt coast -E$neighbours -M) or to Les"
  echo "# Minquiers, and either lie apart from France's polygons within $reach_km km (12"
  echo "# nautical miles) or overlap them; distances measured in the projection"
  echo "#   $projection"
  echo "# An overlapping island is a ring of zero width (out along its shore and back):"
  echo "# it adds its shore to the polygons, and no area. Last, the same way, the"
  echo "# stretches of the other shorelines (the mainland's) that lie outside France's"
  echo "# polygons and are France's by the same rule."
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
  ' france-dcw.txt
  # An island apart from the DCW land is a ring of its own. One that overlaps
  # it is given as a ring of zero width, out along its shore and back, which
  # adds the shore and no area under the even-odd rule.
  awk '
    function flush(   k) {
      if (!(ring in how)) return
      if (how[ring] == "apart")
        printf ">  GSHHG island %d, %s km from the DCW land, %s from a neighbour\n", ring, km[ring], (nearest[ring] >= 25 ? "over 25 km" : nearest[ring] " km")
      else
        printf ">  GSHHG island %d overlapping the DCW land, %s from a neighbour: its shore out and back\n", ring, (nearest[ring] >= 25 ? "over 25 km" : nearest[ring] " km")
      for (k = 1; k <= n; ++k) print v[k]
      if (how[ring] != "apart") for (k = n - 1; k >= 2; --k) print v[k]
    }
    NR == FNR { if (/^>/) stretches = 1; if (!stretches) { how[$1] = $2; km[$1] = $3; nearest[$1] = $4 }; next }
    /^>/ { flush(); ++ring; n = 0; next }
    { v[++n] = $0 }
    END { flush() }
  ' chosen.txt islands.txt
  # The stretches of the mainland's shore outside the DCW land, as the helper
  # wrote them.
  awk '/^>/ { shore = 1 } shore' chosen.txt
} > out.txt
mv out.txt "$out"
echo "extract-france-land.sh: wrote $out ($(grep -c '^>  France' "$out") DCW rings, $(grep -c '^>  GSHHG island [0-9]*,' "$out") islands apart, $(grep -c '^>  GSHHG island [0-9]* overlapping' "$out") island shores, $(grep -c '^>  GSHHG shore' "$out") mainland shore stretches)"
