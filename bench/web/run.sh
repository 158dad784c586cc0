#!/bin/bash
# The browser host's benchmarks; prints a table of figure, goal and result,
# then Lighthouse's mobile audit of the page (bench/web/lighthouse.mjs).
# Needs the web build (cmake --build --preset web). Firefox and WebKitGTK
# draw WebGL only in a window: the load figures run under an X server of
# their own. With --quick the figures run once at minimal size in
# Chromium alone, as CI does, to keep them working; the audit, whose
# install alone takes half a minute, is left out, and nothing judges.
# Usage: bench/web/run.sh [--quick]
set -euo pipefail
cd "$(dirname "$0")/../.."
work=build/web/bench/node
mkdir -p "$work"
retry=$PWD/scripts/retry.sh  # the registry can fail for a moment
cp tests/web/package.json tests/web/package-lock.json "$work/"
if [ "${1:-}" = --quick ]; then
  (cd "$work" && "$retry" 3 npm ci --omit=dev --no-audit --no-fund --loglevel=error)
  exec bash scripts/with-xvfb.sh node bench/web/bench_web.mjs build/web "$work/node_modules" --quick
fi
(cd "$work" && "$retry" 3 npm ci --no-audit --no-fund --loglevel=error)
bash scripts/with-xvfb.sh node bench/web/bench_web.mjs build/web "$work/node_modules"
CHROME_PATH=${CHROME_PATH:-/usr/bin/chromium} node bench/web/lighthouse.mjs build/web "$work/node_modules"
