#!/usr/bin/env bash
# Fails when any of the given programs or libraries loads a Qt library, directly or through
# another library: the core stays usable without a display and without Qt.
#
#   check-no-qt.sh FILE...                       no Qt library at all
#   check-no-qt.sh --allow Core,Gui,DBus FILE... only the named Qt libraries (painting without a
#                                                window); Widgets or anything else fails
set -euo pipefail
allowed=()
if [ "${1:-}" = "--allow" ]; then
    IFS=, read -r -a allowed <<<"$2"
    shift 2
fi

# The Qt libraries in `deps` (ldd's output) that are not allowed, one per line.
forbidden_qt() {
    local lib module ok
    for lib in $(awk '/libQt/ {print $1}' <<<"$1"); do
        module=${lib#libQt6}
        module=${module%%.so*}
        ok=0
        for a in "${allowed[@]}"; do [ "$module" = "$a" ] && ok=1; done
        [ "$ok" -eq 1 ] || echo "$lib"
    done
}

status=0
for file in "$@"; do
    if ! deps=$(ldd "$file"); then
        echo "cannot list the libraries of $file" >&2
        status=1
        continue
    fi
    if qt=$(forbidden_qt "$deps" | grep .); then
        echo "$(basename "$file") links Qt: $(tr '\n' ' ' <<<"$qt")" >&2
        status=1
    fi
done
if [ "$status" -eq 0 ]; then
    if [ "${#allowed[@]}" -eq 0 ]; then
        echo "no Qt in $# core files"
    else
        echo "no Qt beyond ${allowed[*]} in $# files"
    fi
fi
exit "$status"
