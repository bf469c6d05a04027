#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the libFuzzer targets (preset linux-fuzz) and runs
# each for SECONDS seconds (default 60) from its seed corpus. A failing input
# is left in build/linux-fuzz/tests/fuzz/<target>.run/artifacts/; once fixed,
# copy it into tests/fuzz/corpus/<target>/ as a regression input.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset linux-fuzz >/dev/null
cmake --build --preset linux-fuzz -j "${JOBS:-2}"
NORVANE_FUZZ_SECONDS=$seconds ctest --preset linux-fuzz -j "${JOBS:-2}"
