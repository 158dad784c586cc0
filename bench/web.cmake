# The browser host's benchmarks, in headless Chromium. CI runs them once at
# minimal size; it judges no figure.
add_test(NAME bench_web_smoke COMMAND bash ${PROJECT_SOURCE_DIR}/bench/web/run.sh --quick)
set_tests_properties(bench_web_smoke PROPERTIES TIMEOUT 300)
