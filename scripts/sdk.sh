#!/usr/bin/env bash
# sdk.sh BUILD_DIR ZIP: the kit for Windows developers, from a 32-bit Windows
# build (preset win32): the header, the DLL and the conversion program, the
# import library for MinGW and the .def with the stdcall decorations, the C
# example and the instructions (LISEZMOI.txt, in Windows-1252 with CRLF ends).
# Called by dist.sh; the win32 tests call it too, then build against the kit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1 zip=$2
name=$(basename "$zip" .zip)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
kit=$stage/$name
mkdir -p "$kit/include" "$kit/bin" "$kit/lib" "$kit/exemple"
for file in engine/geokern.dll engine/libgeokern.dll.a engine/geokern-stdcall.def programs/geokern-conv/geokern-conv.exe; do
  [ -f "$build/$file" ] || { echo "sdk: $build/$file is missing (build the win32 preset first)" >&2; exit 1; }
done
cp "$root/engine/geokern2.h" "$kit/include/"
cp "$build/engine/geokern.dll" "$build/programs/geokern-conv/geokern-conv.exe" "$kit/bin/"
cp "$build/engine/libgeokern.dll.a" "$kit/lib/"
cp "$build/engine/geokern-stdcall.def" "$kit/lib/geokern.def"
cp "$root/examples/convertir.c" "$kit/exemple/"
iconv -f UTF-8 -t WINDOWS-1252 "$root/scripts/sdk/LISEZMOI.txt" | sed 's/$/\r/' > "$kit/LISEZMOI.txt"
mkdir -p "$(dirname "$zip")"
rm -f "$zip"
zip_path=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
(cd "$stage" && zip -qr "$zip_path" "$name")
