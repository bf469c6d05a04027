#!/usr/bin/env bash
# Assembles the calculator's bundles from the builds: dist/norvane-win32/ (the
# deliverable, from build/win32) with its zip, and dist/norvane-win64/ (from
# build/win64, for running here under wine64). A bundle is everything a user
# copies: the programs, the engine and the data files beside it. Also the kit
# for Windows developers, dist/geokern-win32-sdk.zip (scripts/sdk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
files=(norvane.exe geokern.dll Grid2009_5.dat GridVS2013Poly.dat IGRF14.shc WMM2025.COF WMMHR2025.COF info.txt)
# Console programs, each built in its own folder beside a copy of geokern.dll.
programs=(programs/geokern-conv/geokern-conv.exe programs/norvane-cli/norvane-cli.exe)
mkdir -p dist
for preset in win32 win64; do
  out=dist/norvane-$preset
  rm -rf "$out" "$out.zip"
  mkdir -p "$out"
  # The build places the engine and the data files beside the calculator, and
  # a copy of the engine beside each console program.
  paths=("${files[@]/#/calculator/}" "${programs[@]}")
  for path in "${paths[@]}"; do
    if [ ! -f "build/$preset/$path" ]; then
      echo "dist: build/$preset/$path is missing (build the $preset preset first)" >&2
      exit 1
    fi
    cp "build/$preset/$path" "$out/"
  done
  (cd dist && rm -f "norvane-$preset.zip" && zip -qr "norvane-$preset.zip" "norvane-$preset")
  echo "dist: $out/ and $out.zip"
done
# The 64-bit bundle as a user runs it, under wine: norvane-cli.exe finds the
# engine and the grids beside itself and answers each line of a small file.
places=$(mktemp)
printf '2013-01-01 2.35 48.85 Paris\r\n01/06/2015 1.5W 47.2N Nantes\r\n' >"$places"
answer=$(bash scripts/wine.sh run "$PWD/build/win64/wineprefix" dist/norvane-win64/norvane-cli.exe "Z:$places")
rm -f "$places"
if [ "$(grep -c $'\t' <<<"$answer")" -ne 2 ] || grep -q '^\*' <<<"$answer"; then
  echo "dist: norvane-cli.exe of the 64-bit bundle answered:" >&2
  echo "$answer" >&2
  exit 1
fi
echo "dist: norvane-cli.exe of the 64-bit bundle under wine:"
echo "$answer"
bash scripts/sdk.sh build/win32 dist/geokern-win32-sdk.zip
echo "dist: dist/geokern-win32-sdk.zip"
