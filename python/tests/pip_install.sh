#!/usr/bin/env bash
# pip_install.sh SOURCE BUILD WORK: the package installed as the README says
# (a venv that sees Debian's packages, pip offline without build isolation),
# from a copy of SOURCE, then used from another folder. The compiled part comes
# from the configured build BUILD rather than from a new build of the project.
set -euo pipefail
source=$1 build=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
cp -r "$source" "$work/python" && rm -rf "$work/python/build" "$work/python/"*.egg-info
/usr/bin/python3 -m venv --system-site-packages "$work/venv"
GEOKERN_CMAKE_BUILD_DIR=$build "$work/venv/bin/pip" install -q --no-build-isolation --no-index "$work/python"
cd "$work"
venv/bin/python - <<'PY'
import importlib.metadata, math, sys, geokern, norvane
assert geokern.__version__ == importlib.metadata.version("geokern"), geokern.__version__
assert geokern.__file__.startswith(sys.prefix) and norvane.__file__.startswith(sys.prefix), geokern.__file__
assert all(map(math.isfinite, geokern.transform(2.35, 48.85, "WGS84GG", "NTFL2E")))
for source in ("grille", "modele"):
    assert all(map(math.isfinite, norvane.declination("2013-01-01", 2.35, 48.85, source=source))), source
print("installed in", sys.prefix)
PY

# Then from a tree that holds only what the extension needs, configured by pip
# itself: it builds, and none of the tree's other tools (help2man, debhelper,
# lintian, google-benchmark, PROJ, GoogleTest) is even looked for.
root=$(cd "$source/.." && pwd) tree=$work/tree
mkdir -p "$tree/programs" "$tree/calculator" "$tree/tools"
cp -r "$work/python" "$root/engine" "$root/cmake" "$tree/"
cp -r "$root/programs/common" "$tree/programs/"
cp -r "$root/calculator/core" "$root/calculator/data" "$tree/calculator/"
cp -r "$root/tools/gr3d2bin" "$tree/tools/"
/usr/bin/python3 -m venv --system-site-packages "$work/venv-seul"
"$work/venv-seul/bin/pip" install -q --no-build-isolation --no-index "$tree/python"
cache=$(find "$tree/python/build" -name CMakeCache.txt)
if grep -E '^(HELP2MAN_EXECUTABLE|LINTIAN_EXECUTABLE|DH_EXECUTABLE|benchmark_DIR|GTest_DIR|PKG_CONFIG_EXECUTABLE)[:=]' "$cache"; then
  echo "pip install ./python looked for tools the extension does not need" >&2
  exit 1
fi
"$work/venv-seul/bin/python" -c 'import math, geokern, norvane
assert all(map(math.isfinite, geokern.Transformer.from_crs("EPSG:4326", "EPSG:2154").transform(2.35, 48.85)))
assert all(map(math.isfinite, norvane.declination("2013-01-01", 2.35, 48.85)))'
echo "built alone from a tree of the extension's sources"
