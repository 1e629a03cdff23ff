#!/usr/bin/env bash
# Fails when any of the given programs or libraries loads a Qt library, directly or through
# another library: the core stays usable without a display and without Qt.
set -euo pipefail
status=0
for file in "$@"; do
    if ! deps=$(ldd "$file"); then
        echo "cannot list the libraries of $file" >&2
        status=1
        continue
    fi
    if qt=$(awk '/libQt/ {print $1}' <<<"$deps" | grep .); then
        echo "$(basename "$file") links Qt: $(tr '\n' ' ' <<<"$qt")" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "no Qt in $# core files"
exit "$status"
