#!/usr/bin/env bash
# bench-web.sh: times the web page's conversion against proj4js in headless
# Chromium (bench/web). Needs the site (make web); fetches proj4js from npm
# into build/web/bench, for the benchmark only (the site never carries it).
set -euo pipefail
cd "$(dirname "$0")/.."
site=build/web/site
dir=build/web/bench
[ -f $site/norvane.wasm ] || { echo "build the site first (make web)" >&2; exit 1; }
mkdir -p $dir
[ -f $dir/node_modules/proj4/dist/proj4.js ] ||
  npm install --silent --no-save --no-package-lock --prefix $dir proj4@2 >/dev/null
cp bench/web/bench.html bench/web/bench.js $dir/node_modules/proj4/dist/proj4.js \
   $site/norvane.js $site/norvane.wasm $site/worker.js $dir/
{
  echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -srm), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) CPUs"
  /usr/bin/python3 bench/web/bench_page.py $dir
} 2>&1 | tee $dir/bench_web.txt
