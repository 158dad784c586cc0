#!/bin/bash
# The label check of a Windows tree: a test whose command names Wine
# carries the wine label, every test without it is refused Wine, and the
# refusal holds.
# Usage: wine_labels.sh BUILD_DIR
set -u
build=$1
ctest --test-dir "$build" -N --show-only=json-v1 | python3 -c '
import json, re, sys
wine = re.compile(r"(^|/)(wine-run|wine-prefix\.sh|wine|wine64|wineserver)$")
bad = []
for t in json.load(sys.stdin)["tests"]:
    props = {p["name"]: p["value"] for p in t.get("properties", [])}
    labelled = "wine" in props.get("LABELS", [])
    names_wine = any(wine.search(a) for a in t.get("command", []))
    guarded = any(e.startswith("ARROWBENCH_NO_WINE=") for e in props.get("ENVIRONMENT", []))
    if names_wine and not labelled:
        bad.append(t["name"] + ": its command starts Wine but it has no wine label")
    if not labelled and not guarded:
        bad.append(t["name"] + ": no wine label and not refused Wine")
for b in bad: print("FAIL " + b)
sys.exit(1 if bad else 0)' || exit 1
out=$(ARROWBENCH_NO_WINE=test_wine_labels "$build/wine-run" /nonexistent.exe 2>&1)
code=$?
if [ $code -ne 1 ] || [[ $out != *"test_wine_labels starts a Windows program under Wine but has no wine label"* ]]; then
  echo "FAIL wine-run without the label: exit $code: $out"
  exit 1
fi
echo "every test that starts Wine is labelled"
