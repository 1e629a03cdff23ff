#!/usr/bin/env bash
# The manual pages against the programs: every cairnctl command and every option that a
# program's --help names must be documented, and groff must read the pages without a warning.
#   man_pages.sh BIN_DIR MAN_DIR
set -uo pipefail
bin="$1"
man="$2"
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The tag lines of the page (the line after each .TP), with roff's "\-" as "-" and fonts removed.
tags() {
    awk 'tp { print; tp = 0 } /^\.TP/ { tp = 1 }' "$1" | sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/^\.[BIR]*  *//' -e 's/"//g'
}

help_of() {
    "$bin/$1" --help 2>&1
}

check_commands() {
    local page="$man/cairnctl.1" commands documented
    commands=$(help_of cairnctl | sed -n 's/^  \([a-z][a-z-]*\)\( .*\)\?$/\1/p')
    [ -n "$commands" ] || fail "cairnctl --help lists no commands"
    documented="$(tags "$page")"
    for c in $commands; do
        grep -q "^$c\( \|$\)" <<<"$documented" || fail "cairnctl.1 does not document the command '$c'"
    done
}

check_options() {
    local program="$1" page="$man/$1.1"
    [ -x "$bin/$program" ] || { echo "skip $program: not built"; return; }
    [ -f "$page" ] || { fail "no manual page for $program"; return; }
    local text
    text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")
    for option in $(help_of "$program" | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -q -- "$option\b" <<<"$text" || fail "$program.1 does not document $option"
    done
}

check_roff() {
    command -v man >/dev/null || { echo "skip roff check: no man"; return; }
    for page in "$man"/*.1; do
        local warnings
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
    done
}

check_commands
for program in cairn cairnctl cairn-stc tern-file-server; do
    check_options "$program"
done
check_roff
[ "$failures" -eq 0 ] && echo "manual pages: all commands and options documented"
exit $((failures > 0))
