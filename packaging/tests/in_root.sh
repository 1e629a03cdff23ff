#!/usr/bin/env bash
# Runs inside the fresh Debian root of scripts/test-package.sh, with the packages installed and
# this folder's files in /tmp/cairn-test: what a user of the packages does first.
set -euo pipefail
cd /tmp/cairn-test
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
step() {
    echo
    echo "\$ $*"
    "$@"
}

step cairnctl --help || fail "cairnctl --help"
step cairnctl show sample.kvg || fail "cairnctl show"

export CAIRN_PANEL=virtual:/tmp/cairn-test/panel.state
step cairnctl upload sample.kvg --panel 1 || fail "upload"
step cairnctl download received.kvg || fail "download"
step cairnctl verify received.kvg --panel 1 || fail "verify"
unset CAIRN_PANEL

if command -v cairn >/dev/null; then
    step cairn --version || fail "cairn --version"
    step env QT_QPA_PLATFORM=offscreen cairn --no-splash --screenshot /tmp/cairn-test/cairn.png sample.kvg ||
        fail "cairn screenshot"
    [ -s /tmp/cairn-test/cairn.png ] && step ls -l /tmp/cairn-test/cairn.png
else
    fail "the program cairn is not installed"
fi

echo
echo "# the desktop menu entry, its icon and the file type"
step ls /usr/share/applications/cairn.desktop /usr/share/icons/hicolor/scalable/apps/cairn.svg \
    /usr/share/icons/hicolor/48x48/apps/cairn.png || fail "menu entry or icon missing"
step grep -E "^(Name|Exec|Icon|Categories|MimeType)=" /usr/share/applications/cairn.desktop || fail "menu entry"
mime=$(XDG_DATA_DIRS=/usr/share xdg-mime query filetype sample.kvg 2>&1) || true
echo "xdg-mime query filetype sample.kvg: $mime"
[ "$mime" = "application/x-cairn-facility" ] || fail "sample.kvg is of type '$mime'"
default=$(XDG_DATA_DIRS=/usr/share xdg-mime query default application/x-cairn-facility 2>&1) || true
echo "xdg-mime query default application/x-cairn-facility: $default"
[ "$default" = "cairn.desktop" ] || fail "the default application is '$default'"

echo
echo "# the manual page names every command"
# man -l on the page man finds, so that no formatted copy is cached outside the package.
page=$(man -w cairnctl) || fail "man finds no page cairnctl"
echo "man -w cairnctl: $page"
MANWIDTH=80 man -l "$page" 2>/dev/null | sed -n '/^FILE COMMANDS/,/^OPTIONS/p' | grep -E '^       [a-z]+( +[A-Z[-]|$)' || fail "man cairnctl"

echo
echo "# a program of someone else's against the installed Tern: find_package, then pkg-config"
echo
echo "\$ cmake -S consumer -B consumer-build && cmake --build consumer-build"
cmake -S consumer -B consumer-build -DCMAKE_BUILD_TYPE=Release >consumer.log 2>&1 &&
    cmake --build consumer-build >>consumer.log 2>&1 || { cat consumer.log; fail "consumer build"; }
grep -E "Tern|Mica" consumer-build/CMakeCache.txt | grep _DIR
step ./consumer-build/tern-consumer || fail "tern-consumer (find_package)"
step env QT_QPA_PLATFORM=offscreen ./consumer-build/mica-consumer || fail "mica-consumer (find_package)"
# shellcheck disable=SC2046
step g++ -std=c++20 -o tern-consumer-pc consumer/main.cpp $(pkg-config --cflags --libs tern) || fail "pkg-config build"
step ./tern-consumer-pc || fail "tern-consumer (pkg-config)"

echo
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed in the root"
    exit 1
fi
echo "all checks in the root passed"
