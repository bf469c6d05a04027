#!/usr/bin/env bash
# run-fuzzer.sh FUZZER SEEDS WORK: fuzzes for ${NORVANE_FUZZ_SECONDS:-10} s
# from the seed corpus SEEDS. New inputs go to WORK/corpus (emptied first: the
# committed seeds are never written), a failing input to WORK/artifacts.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3
rm -rf "$work/corpus" "$work/artifacts"
mkdir -p "$work/corpus" "$work/artifacts"
exec "$fuzzer" -max_total_time="${NORVANE_FUZZ_SECONDS:-10}" -timeout=1 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds"
