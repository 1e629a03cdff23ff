#!/usr/bin/env bash
# Builds everything with AddressSanitizer + UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps
jobs=$(nproc)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCAIRN_SANITIZE=ON -DCAIRN_BENCH=OFF
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
