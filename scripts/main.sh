#!/usr/bin/env bash
# Builds Cairn (release) and runs its main job: the desktop program on the sample facility with a
# virtual panel when a display is available; without one, the command-line round trip through a
# virtual panel and the screenshots of every window in every language.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    echo "Virtual panel: $work/panel.state"
    CAIRN_PANEL="virtual:$work/panel.state" build/bin/cairn tools/cairnctl/samples/sample.kvg
else
    scripts/demo.sh build
    QT_QPA_PLATFORM=offscreen build/bin/cairn_screenshots build/screenshots
fi
