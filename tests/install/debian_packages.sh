#!/usr/bin/env bash
# The Debian packages as a user meets them, for what lintian does not check:
# made by scripts/package.sh, each holding its share and nothing else, their
# dependencies, the programs run from the unpacked packages and answering as
# the build tree's do, pkg-config, and the manual pages' content. Then lintian.
#   debian_packages.sh BUILD_DIR WORK_DIR GEOKERN_CONV NORVANE_CLI
set -euo pipefail
build=$1 work=$2 conv=$3 cli=$4
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"; mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

bash "$here/../../scripts/package.sh" "$build" "$work/dist" >/dev/null
version=$(dpkg-deb -f "$work"/dist/libgeokern3_*.deb Version)
deb() { ls "$work"/dist/"$1"_*.deb; }
contents() { dpkg-deb -c "$(deb "$1")" | awk '{print $6}' | grep -v '/$' | grep -v '^./usr/share/doc/' | sort; }

# Each package's files, as patterns over the whole list (nothing more, nothing less).
while read -r package pattern; do
  files=$(contents "$package")
  strays=$(grep -Ev "$pattern" <<<"$files" || true)
  [ -z "$strays" ] || fail "$package holds $strays"
done <<'LIST'
libgeokern3 ^\./usr/lib/[^/]+/libgeokern\.so\.3(\.[0-9.]+)?$
libgeokern-dev ^\./usr/(include/geokern2\.h|lib/[^/]+/(libgeokern\.so|cmake/geokern/.*\.cmake|pkgconfig/geokern\.pc))$
geokern-bin ^\./usr/(bin/(geokern-conv|norvane-cli)|share/man/man1/(geokern-conv|norvane-cli)\.1\.gz)$
norvane-data ^\./usr/share/norvane/
python3-geokern ^\./usr/lib/python3/dist-packages/(geokern|norvane)/[^/]+\.(py|so)$
LIST
for expected in bin/geokern-conv bin/norvane-cli share/man/man1/geokern-conv.1.gz share/man/man1/norvane-cli.1.gz; do
  contents geokern-bin | grep -x "./usr/$expected" >/dev/null || fail "geokern-bin lacks $expected"
done
for expected in Grid2009_5.dat GridVS2013Poly.dat info.txt IGRF14.shc WMM2025.COF WMMHR2025.COF; do
  contents norvane-data | grep -x "./usr/share/norvane/$expected" >/dev/null || fail "norvane-data lacks $expected"
done
[ "$(dpkg-deb -f "$(deb norvane-data)" Architecture)" = all ] || fail "norvane-data is not for every architecture"

# The development files ask for this very library; the programs for the library and the data.
dpkg-deb -f "$(deb libgeokern-dev)" Depends | grep "libgeokern3 (= $version)" >/dev/null || fail "libgeokern-dev: Depends"
depends=$(dpkg-deb -f "$(deb geokern-bin)" Depends)
grep -q "norvane-data (= $version)" <<<"$depends" && grep -q "libgeokern3 (>= " <<<"$depends" ||
  fail "geokern-bin: Depends: $depends"

# All four unpacked into one root: the programs run as installed and find the
# library and the grids there.
root=$work/root
for d in "$work"/dist/*.deb; do dpkg-deb -x "$d" "$root"; done
printf '2013-01-01 2.35 48.85 Paris\n01/06/2015 -1.5 47.2 Nantes\n' >"$work/places.txt"
printf '2.35 48.85 Paris\n-1.5 47.2 Nantes\n' >"$work/points.txt"
compare() {  # NAME INSTALLED BUILT ARGS...
  local name=$1 installed=$2 built=$3; shift 3
  local got wanted
  got=$("$installed" "$@") || fail "$name from the package failed"
  wanted=$("$built" "$@")
  [ -n "$got" ] && [ "$got" = "$wanted" ] || fail "$name from the package said:"$'\n'"$got"$'\n'"the build tree's:"$'\n'"$wanted"
  echo "$name from the package:"; echo "$got"
}
compare norvane-cli "$root/usr/bin/norvane-cli" "$cli" --convergence "$work/places.txt"
compare geokern-conv "$root/usr/bin/geokern-conv" "$conv" WGS84GG RGF93L93 "$work/points.txt"
linked=$(ldd "$root/usr/bin/geokern-conv")
grep -q "libgeokern.so.3 => $root/" <<<"$linked" || fail "geokern-conv does not link the packaged libgeokern.so.3"

# The Python packages from the unpacked root, with its library (in /usr/lib's
# place, LD_LIBRARY_PATH) and its data, answer as the build tree's.
python_answer() {  # PYTHONPATH
  (cd "$work" && PYTHONPATH=$1 LD_LIBRARY_PATH=$(dirname "$(find "$root" -name libgeokern.so.3)") /usr/bin/python3 -c '
import geokern, norvane
print(geokern._geokern.__file__, norvane._DATA_DIR)
print(*geokern.transform(2.35, 48.85, "WGS84GG", "NTFL2E"), *norvane.declination("2013-01-01", 2.35, 48.85, source="grille"))')
}
got=$(python_answer "$root/usr/lib/python3/dist-packages") || fail "python3-geokern does not import"
wanted=$(python_answer "$build/python/packages")
[[ "$got" == "$root/"*" $root/usr/share/norvane"$'\n'* ]] || fail "python3-geokern: $got"
[ "$(tail -n 1 <<<"$got")" = "$(tail -n 1 <<<"$wanted")" ] || fail "python3-geokern said $got, the build tree $wanted"

# pkg-config from the unpacked development files names the unpacked library.
pc=$(dirname "$(find "$root" -name geokern.pc)")
libs=$(PKG_CONFIG_PATH=$pc pkg-config --libs geokern)
[[ "$libs" == *-lgeokern* ]] && [ -e "$(sed -E 's/^-L([^ ]+) .*/\1/' <<<"$libs")/libgeokern.so" ] || fail "pkg-config --libs geokern: $libs"

# The manual pages: in French, every option of --help, the exit statuses and an example.
for program in geokern-conv norvane-cli; do
  page=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/$program.1.gz" 2>&1)
  for section in NOM SYNOPSIS DESCRIPTION OPTIONS; do
    grep -q "^$section" <<<"$page" || fail "man $program: no section $section"
  done
  grep -qi "statut de sortie *: *0 " <<<"$page" || fail "man $program: no exit status"
  grep -qi "^ *exemple" <<<"$page" || fail "man $program: no example"
  for option in $("$root/usr/bin/$program" --help | grep -oE -- '--[a-z]+' | sort -u); do
    grep -q -- "$option" <<<"$page" || fail "man $program lacks $option"
  done
done

# Without its grid, the installed norvane-cli says where it looked.
rm "$root/usr/share/norvane/GridVS2013Poly.dat"
if err=$("$root/usr/bin/norvane-cli" "$work/places.txt" 2>&1 >/dev/null); then fail "norvane-cli ran without its grid"; fi
grep -q "usr/bin/\.\./share/norvane" <<<"$err" || fail "norvane-cli without its grid said: $err"

lintian --fail-on error,warning --tag-display-limit 0 "$work"/dist/*.deb
echo "packages: $(cd "$work/dist" && echo *.deb)"
