#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those missing.
# Usage: install-deps.sh          packages for building, testing and running
#        install-deps.sh maps     also the mapping tools that redraw the declination map
set -euo pipefail

packages=(
  cmake make g++ g++-multilib qemu-user           # native and 32-bit Linux builds
  libfast-float-dev                               # the engine's reading of numbers (header only)
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-i686
  wine64 fonts-wine xvfb imagemagick zip x11-utils  # running and looking at the Windows program
  wine32:i386                                     # and the 32-bit one (Debian's i386 architecture)
  googletest libgtest-dev libbenchmark-dev        # tests and benchmarks
  clang libclang-rt-14-dev                        # fuzzing and sanitizers
  proj-bin libproj-dev proj-data                  # the peer the benchmarks compare against
  time                                            # CPU times of the file conversion benchmark
  locales libc-l10n                               # a French locale (decimal-comma tests), the C library's French messages
  dpkg-dev debhelper help2man lintian dh-python   # the Debian packages, their manual pages and their check
  python3-dev python3-pybind11 pybind11-dev python3-numpy  # the Python package, its tests
  python3-setuptools python3-wheel python3-pip python3-venv python3-pytest
  python3-pyproj                                  # and its benchmark's peer
  libgeographiclib-dev                            # the main-field models' peer in the benchmarks
  python3-mpmath python3-gmpy2                    # the elementary functions' coefficients and accuracy (tools/elementary-functions)
  emscripten chromium chromium-driver python3-selenium  # the web page: WebAssembly build, browser tests
)
if [ "${1:-}" = maps ]; then
  packages+=(gmt gmt-gshhg-high gmt-dcw ghostscript)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # An index that fails to download (a mirror in the middle of a sync) leaves
  # the others usable: the installation below says whether anything is missing.
  $sudo apt-get update -qq || echo "install-deps: some package indexes failed to download; going on with the others" >&2
  if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
    # The 32-bit wine needs the i386 packages at the versions of the amd64
    # ones: without a current i386 index (see above) it cannot be installed,
    # and the 32-bit Windows tests report a skip that says so (scripts/wine.sh).
    rest=()
    for p in "${missing[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
    [ ${#rest[@]} -lt ${#missing[@]} ] || exit 1
    echo "install-deps: wine32:i386 cannot be installed now; installing the rest" >&2
    $sudo apt-get install -y -qq --no-install-recommends "${rest[@]}"
  fi
fi

# The French locale (decimal comma) that the formatting tests run under.
if ! locale -a 2>/dev/null | grep -qix 'fr_FR.utf8'; then
  $sudo localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
fi
