#!/usr/bin/env bash
# The main job until the program itself exists: a round trip of one panel's configuration through
# a virtual panel, each step a separate cairnctl process, as an installer would run them.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build}/bin"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A copy, since every transfer keeps its history beside the facility file.
sample="$work/sample.kvg"
cp tools/cairnctl/samples/sample.kvg "$sample"
export CAIRN_PANEL="virtual:$work/panel.state"
unset CAIRN_PANEL_FAULT

step() {
    echo
    echo "\$ $*"
    "$@"
}

echo "Built: $(ls "$bin" | tr '\n' ' ')"
echo "Virtual panel: $CAIRN_PANEL"
step "$bin/cairnctl" show "$sample"
step "$bin/cairnctl" upload "$sample" --panel 1
step "$bin/cairnctl" download "$work/received.kvg"
step "$bin/cairnctl" verify "$work/received.kvg" --panel 1
step "$bin/cairnctl" show "$work/received.kvg"
step "$bin/cairnctl" history "$sample"
step "$bin/cairnctl" clock --now
step "$bin/cairnctl" logs --general "$work/general.csv"
step cat "$work/general.csv"
