#!/usr/bin/env bash
# cairnctl report as a program started with no display and no Qt platform named: it must still
# write the PDF (the program picks the offscreen platform itself) and print nothing but its line.
set -euo pipefail
cairnctl="$1"
sample="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Sanitizer builds list the suppressed leaks of the font stack on stderr; that is not the program's.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0"

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$cairnctl" report "$sample" --pdf "$work/out.pdf" --loops >"$work/stdout" 2>"$work/stderr"
grep -q "out.pdf: [0-9]* page" "$work/stdout" || { cat "$work/stdout" "$work/stderr"; exit 1; }
[ ! -s "$work/stderr" ] || { echo "unexpected output on stderr:"; cat "$work/stderr"; exit 1; }
text=$(pdftotext -layout "$work/out.pdf" -)
grep -q "Pag\. *1" <<<"$text" || { echo "no page number in the PDF"; echo "$text"; exit 1; }
echo "cairnctl report: PDF written without a display"
