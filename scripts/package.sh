#!/usr/bin/env bash
# The Debian packages, as Debian ships a library, made with debhelper from a
# built CMake tree: libgeokern3 (libgeokern.so.3), libgeokern-dev (header,
# link, CMake and pkg-config files), geokern-bin (geokern-conv, norvane-cli and
# their manual pages) and norvane-data (share/norvane, for every architecture).
# packaging/debian says what goes where.
#
#   package.sh BUILD_DIR OUT_DIR    writes the .deb files into OUT_DIR
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: package.sh BUILD_DIR OUT_DIR" >&2; exit 2; }
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

# debhelper works in ./debian and writes the packages into its parent.
work=$build/debian-packages
rm -rf "$work"
mkdir -p "$work/geokern"
cp -r "$source_dir/packaging/debian" "$work/geokern/debian"
# The times of the packages' files from the changelog's date: the same packages from the same tree.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(cd "$work/geokern" && dpkg-parsechangelog -STimestamp)
(cd "$work/geokern" && NORVANE_BUILD=$build debian/rules binary) >"$work/debhelper.log" 2>&1 || {
  cat "$work/debhelper.log" >&2
  exit 1
}
rm -f "$out"/*.deb
mv "$work"/*.deb "$out/"
ls "$out"/*.deb
