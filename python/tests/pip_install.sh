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
