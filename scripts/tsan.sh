#!/usr/bin/env bash
# Builds the panel-link tests with ThreadSanitizer (build-tsan/) and runs the transfers whose
# worker threads run beside the user-interface thread. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCAIRN_TSAN=ON -DCAIRN_BENCH=OFF >/dev/null
cmake --build build-tsan --target panel_link_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    build-tsan/bin/panel_link_tests --gtest_filter='TransferThreads.*:CUsbHandler.*:FirmwareUpdate.RunsBehind*'
