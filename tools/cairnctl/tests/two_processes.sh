#!/usr/bin/env bash
# Upload and download as two separate cairnctl processes sharing one virtual panel state file.
set -euo pipefail
cairnctl="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A copy: the transfers keep their history beside the facility file.
sample="$work/sample.kvg"
cp "$2" "$sample"
export CAIRN_PANEL="virtual:$work/panel.state"
unset CAIRN_PANEL_FAULT

"$cairnctl" upload "$sample" --panel 1
"$cairnctl" download "$work/received.kvg"
"$cairnctl" verify "$work/received.kvg" --panel 1
"$cairnctl" verify "$sample" --panel 1

# A failed download leaves the facility file exactly as it was.
cp "$2" "$work/site.kvg"
if CAIRN_PANEL_FAULT=error@600 "$cairnctl" download "$work/site.kvg" --yes; then
    echo "download reported success despite an injected fault" >&2
    exit 1
fi
cmp "$2" "$work/site.kvg"
echo "two-process round trip: ok"
