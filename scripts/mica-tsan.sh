#!/usr/bin/env bash
# Builds Basalt and Mica alone with ThreadSanitizer (in build-tsan/) and runs Mica's tests:
# the wait dialogs' hand-over between a worker and the user-interface thread.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S mica -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMICA_TSAN=ON
cmake --build build-tsan --target mica_tests
# Qt itself is not built with ThreadSanitizer: the suppressions ignore calls made inside Qt only.
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/mica/tests/tsan.supp ${TSAN_OPTIONS:-}"
ctest --test-dir build-tsan --output-on-failure -j"$(nproc)" --timeout 300
