#!/bin/bash
# The browser host's benchmarks; prints a table of figure, goal and result,
# then Lighthouse's mobile audit of the page (bench/web/lighthouse.mjs).
# Needs the web build (cmake --build --preset web). Firefox and WebKitGTK
# draw WebGL only in a window: the load figures run under an X server of
# their own. With --quick each runs once at minimal size, as CI does, to
# keep them working: the audit then scores accessibility alone, and nothing
# judges a score.
# Usage: bench/web/run.sh [--quick]
set -euo pipefail
cd "$(dirname "$0")/../.."
work=build/web/bench/node
mkdir -p "$work"
cp tests/web/package.json tests/web/package-lock.json "$work/"
(cd "$work" && npm ci --no-audit --no-fund --loglevel=error)
bash scripts/with-xvfb.sh node bench/web/bench_web.mjs build/web "$work/node_modules" ${1:-}
CHROME_PATH=${CHROME_PATH:-/usr/bin/chromium} node bench/web/lighthouse.mjs build/web "$work/node_modules" ${1:-}
