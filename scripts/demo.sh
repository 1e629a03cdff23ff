#!/usr/bin/env bash
# The main job until the program itself exists: shows the newest command-line tool at work.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build}/bin"
echo "Built: $(ls "$bin" | tr '\n' ' ')"
echo
echo "\$ cairnctl show tools/cairnctl/samples/sample.kvg"
"$bin/cairnctl" show tools/cairnctl/samples/sample.kvg
