#!/usr/bin/env bash
# Configures, builds and tests each preset named on the command line, assembles
# the calculator's bundles when both Windows presets are among them, prints one
# summary line for all of it and fails if any step failed.
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
passed=0; failed=0; skipped=0; broken=()
for preset in "$@"; do
  echo "=== $preset"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset" -j "$jobs"; then
    broken+=("$preset (build)"); continue
  fi
  log=$(mktemp)
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  nfail=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  if [ -z "$line" ]; then broken+=("$preset (no tests)"); elif [ "$status" -ne 0 ]; then broken+=("$preset"); fi
  # Skipped tests count apart, with the reasons they gave (lines "SKIP: ...").
  nskip=$(grep -c '(Skipped)$' "$log" || true)
  if [ "$nskip" -gt 0 ]; then
    echo "=== $preset: $nskip skipped"
    grep -h '^SKIP: ' "build/$preset/Testing/Temporary/LastTest.log" 2>/dev/null | sed -E 's/; [^;]* not run$//' | sort -u
  fi
  passed=$((passed + ${total:-0} - ${nfail:-0} - nskip)); failed=$((failed + ${nfail:-0})); skipped=$((skipped + nskip))
  rm -f "$log"
done
if [[ " $* " == *" win32 "* && " $* " == *" win64 "* ]]; then
  echo "=== bundles"
  bash scripts/dist.sh || broken+=("bundles")
fi
echo
[ ${#broken[@]} -eq 0 ] || echo "failing: ${broken[*]}"
echo "tests: $passed passed, $failed failed, $skipped skipped"
[ ${#broken[@]} -eq 0 ] && [ "$failed" -eq 0 ]
