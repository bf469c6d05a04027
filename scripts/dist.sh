#!/usr/bin/env bash
# Assembles the calculator's bundles from the builds: dist/norvane-win32/ (the
# deliverable, from build/win32) with its zip, and dist/norvane-win64/ (from
# build/win64, for running here under wine64). A bundle is everything a user
# copies: the programs, the engine and the data files beside it. Also the kit
# for Windows developers, dist/geokern-win32-sdk.zip (scripts/sdk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
files=(norvane.exe geokern.dll Grid2009_5.dat GridVS2013Poly.dat info.txt)
# Console programs, each built in its own folder beside a copy of geokern.dll.
programs=(programs/geokern-conv/geokern-conv.exe)
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
  for program in "${programs[@]}"; do
    if [ ! -f "build/$preset/$program" ]; then
      echo "dist: build/$preset/$program is missing (build the $preset preset first)" >&2
      exit 1
    fi
    cp "build/$preset/$program" "$out/"
  done
  (cd dist && rm -f "norvane-$preset.zip" && zip -qr "norvane-$preset.zip" "norvane-$preset")
  echo "dist: $out/ and $out.zip"
done
bash scripts/sdk.sh build/win32 dist/geokern-win32-sdk.zip
echo "dist: dist/geokern-win32-sdk.zip"
