#!/usr/bin/env bash
# The main job until the program itself exists: shows the newest command-line tool at work.
set -euo pipefail
bin="${1:-build}/bin"
echo "Built: $(ls "$bin" | tr '\n' ' ')"
