#!/usr/bin/env bash
# Builds Cairn (release) and runs its main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
scripts/demo.sh build
