#!/bin/bash
# The browser host's test: installs the pinned drivers and axe-core (npm ci,
# tried again where the registry fails for a moment,
# without the audit's Lighthouse, which bench/web/run.sh installs) into a
# work folder of the build tree, dumps the shared case tables, and drives
# the page in Debian's Chromium, Firefox ESR and WebKitGTK (with DISPLAY).
# NAMES_MJS is the template's names as the build wrote them.
# Usage: run_web_tests.sh SITE_DIR DUMP_CASES_JS CHECK_SHOT_JS WORK_DIR NAMES_MJS
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
site=$1 dump=$2 check_shot=$3 work=$4 names=$5
mkdir -p "$work"
cp "$here/package.json" "$here/package-lock.json" "$work/"
(cd "$work" && "$here/../../scripts/retry.sh" 3 npm ci --omit=dev --no-audit --no-fund --loglevel=error)
node --no-experimental-fetch "$dump" > "$work/cases.json"
exec node "$here/test_web.mjs" "$site" "$work/cases.json" "$work/node_modules" "$check_shot" "$work" "$names"
