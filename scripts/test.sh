#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the whole suite in an optimised
# build (core tests and the Qt tests on the offscreen platform), then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j "$jobs"
