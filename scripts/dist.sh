#!/usr/bin/env bash
# Assembles the calculator's bundles from the builds: dist/norvane-win32/ (the
# deliverable, from build/win32) with its zip, and dist/norvane-win64/ (from
# build/win64, for running here under wine64). A bundle is everything a user
# copies: the program, the engine and the data files beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
files=(norvane.exe geokern.dll Grid2009_5.dat GridVS2013Poly.dat info.txt)
mkdir -p dist
for preset in win32 win64; do
  src=build/$preset/calculator
  out=dist/norvane-$preset
  rm -rf "$out" "$out.zip"
  mkdir -p "$out"
  for file in "${files[@]}"; do
    # The build places the engine and the data files beside the program.
    if [ ! -f "$src/$file" ]; then
      echo "dist: $src/$file is missing (build the $preset preset first)" >&2
      exit 1
    fi
    cp "$src/$file" "$out/"
  done
  (cd dist && rm -f "norvane-$preset.zip" && zip -qr "norvane-$preset.zip" "norvane-$preset")
  echo "dist: $out/ and $out.zip"
done
