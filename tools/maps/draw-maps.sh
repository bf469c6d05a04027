#!/usr/bin/env bash
# Redraws the declination map of the calculator, bitmaps 149 (908 x 836) and
# 152 (150 x 115), from the project's own grids: the isogonic lines are those
# of B + A x t on 2013-01-01, so that the map agrees with what the calculator
# shows. Needs the linux preset built and GMT (scripts/install-deps.sh maps).
# Usage: draw-maps.sh [output directory]   (default: calculator/resources)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/calculator/resources}
mkdir -p "$out" && out=$(cd "$out" && pwd)
points_tool=$root/build/linux/tools/declination-grids/isogonic-points
[ -x "$points_tool" ] || { echo "draw-maps.sh: build the linux preset first ($points_tool)" >&2; exit 1; }
command -v gmt >/dev/null || { echo "draw-maps.sh: GMT missing (bash scripts/install-deps.sh maps)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 2009-07-01 to 2013-01-01: 1280 days.
"$points_tool" "$root/calculator/data/Grid2009_5.dat" "$root/calculator/data/GridVS2013Poly.dat" 1280 \
  > "$work/isogonic.txt"

# GMT keeps its session files in the current directory.
cd "$work"
export GMT_USERDIR=$work GMT_TMPDIR=$work

# The calculator's values on a regular grid: linear on the triangulation of
# the nodes, blanked farther than 7 km from a node with data, so that the lines
# stop where the calculator stops (France, its coasts and borders).
box=-7/12/40.5/52.5
gmt triangulate "$work/isogonic.txt" -R$box -I0.02 -G"$work/linear.nc"
gmt grdmask "$work/isogonic.txt" -R$box -I0.02 -S7k -NNaN/1/1 -G"$work/covered.nc"
gmt grdmath "$work/linear.nc" "$work/covered.nc" MUL = "$work/isogonic.nc"

# Mercator: meridians and parallels straight, so the graticule labels run
# along the margins from 4 W to 10 E and from 42 N to 50 N.
region=${MAP_REGION:--5.3/10.3/41.2/51.3}
projection=M20c
# Where the labels go: where the lines cross these segments, clear of the
# shores and borders.
labels=${MAP_LABELS:--5.3/47.95/-3.9/48.0,-3.9/48.0/7.3/48.0,7.3/48.75/8.0/48.75,-1.3/44.4/7.6/44.4,9.3/42.6/10.2/42.6}

# draw NAME FRAME_PEN COAST_PEN LINE_PEN [LABELS]: one picture of the map; the
# thumbnail is drawn with pens thick enough to survive the reduction, and
# without the texts it could not show.
draw() {
  local name=$1 frame=$2 coast=$3 line=$4 labelled=${5:-}
  gmt begin "$name" png E300 >/dev/null
    gmt set MAP_FRAME_TYPE plain MAP_FRAME_PEN "$frame",black FONT_ANNOT_PRIMARY 12p,Helvetica,black \
            MAP_GRID_PEN_PRIMARY 0.4p,150/150/150 MAP_ANNOT_OFFSET_PRIMARY 4p \
            FORMAT_GEO_MAP dddF PS_PAGE_COLOR white
    if [ -n "$labelled" ]; then
      gmt basemap -R$region -J$projection -Bxa2g2 -Bya2g2 -BWSEN
    else
      gmt basemap -R$region -J$projection -Bxg2 -Byg2 -Bwsen --MAP_GRID_PEN_PRIMARY=2p,190/190/190
    fi
    # Land borders only: the national boundaries clipped to land, which drops
    # the maritime ones.
    gmt coast -Dh -Gc
    gmt coast -Dh -N1/"$coast",red
    gmt coast -Q
    # Shorelines of the sea (no lakes).
    gmt coast -Dh -A10/0/1 -W"$coast",0/150/0
    if [ -n "$labelled" ]; then
      gmt grdcontour isogonic.nc -C0.5 -A0.5+f11p,Helvetica-Bold,black+u@.+gwhite+c2p -GL$labels -W"$line",black
    else
      gmt grdcontour isogonic.nc -C0.5 -W"$line",black
    fi
  gmt end
}
draw map 1p 1.2p 1.3p labelled
draw thumbnail 6p 5p 6p

convert map.png -resize 908x836 -background white -gravity center -extent 908x836 \
  -type TrueColor BMP3:"$out/declination_map.bmp"
convert thumbnail.png -resize 150x115 -background white -gravity center -extent 150x115 \
  -type TrueColor BMP3:"$out/declination_map_small.bmp"
echo "draw-maps.sh: wrote $out/declination_map.bmp and declination_map_small.bmp"
