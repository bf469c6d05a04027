#!/bin/sh
# Draws the program icon, a compass needle on a dial, at 32x32 and 16x16, into
# norvane.ico (ImageMagick). Run from anywhere; the .ico is committed.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Drawn at 8x and reduced, so that the small sizes stay smooth.
convert -size 256x256 xc:none \
  -fill '#f4f1e6' -stroke '#33415c' -strokewidth 14 -draw 'circle 128,128 128,14' \
  -stroke '#33415c' -strokewidth 10 \
  -draw 'line 128,22 128,52' -draw 'line 128,204 128,234' \
  -draw 'line 22,128 52,128' -draw 'line 204,128 234,128' \
  -stroke none -fill '#d7263d' -draw 'polygon 128,30 156,128 100,128' \
  -fill '#9aa5b1' -draw 'polygon 100,128 156,128 128,226' \
  -fill '#33415c' -draw 'circle 128,128 128,114' \
  "$tmp/big.png"
convert "$tmp/big.png" -resize 32x32 "$tmp/32.png"
convert "$tmp/big.png" -resize 16x16 "$tmp/16.png"
convert "$tmp/32.png" "$tmp/16.png" norvane.ico
