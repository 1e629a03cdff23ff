#!/usr/bin/env bash
# The install, staged into a folder: what lands where, the installed programs finding their
# libraries and string tables from where they are, the desktop files valid, and programs of
# someone else's built against the installed Tern and Mica with find_package and pkg-config.
#   staged_install.sh BUILD_DIR [EXTRA_CXX_FLAGS]
# EXTRA_CXX_FLAGS: what the consumer programs need to link against the libraries as built
# (the sanitizer flags of a sanitizer build).
set -euo pipefail
build="$(cd "$1" && pwd)"
flags="${2:-}"
source="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
step() { echo "-- $*"; }

step "install into $stage/usr"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$work/install.log" || { cat "$work/install.log"; exit 1; }
usr="$stage/usr"
libdir="$(cd "$usr" && ls -d lib/*-linux-gnu* 2>/dev/null | sed -n 1p)"
[ -n "$libdir" ] || { fail "no multiarch library folder under $usr/lib"; libdir=lib; }

step "layout"
expect=(
    bin/cairnctl bin/cairn-stc bin/tern-file-server
    "$libdir/libbasalt.so.0" "$libdir/libtern.so.0" "$libdir/libmica.so.0"
    "$libdir/libtern.so" "$libdir/cairn/libcairn_model.so"
    "$libdir/cmake/Tern/TernConfig.cmake" "$libdir/cmake/Basalt/BasaltConfig.cmake" "$libdir/cmake/Mica/MicaConfig.cmake"
    "$libdir/pkgconfig/tern.pc" "$libdir/pkgconfig/basalt.pc" "$libdir/pkgconfig/mica.pc"
    include/cairn/tern/KvHttpServer.h include/cairn/basalt/KvBasicString.h include/cairn/mica/KvLayout.h
    include/cairn/seams/IWaitDialog.h
    share/cairn/cairn.en.stc share/cairn/cairn.es.stc
    share/man/man1/cairnctl.1.gz share/man/man1/cairn-stc.1.gz share/man/man1/tern-file-server.1.gz
    share/mime/packages/cairn.xml
    share/icons/hicolor/scalable/apps/cairn.svg share/icons/hicolor/48x48/apps/cairn.png
    share/icons/hicolor/256x256/apps/cairn.png
    lib/udev/rules.d/60-cairn-panel.rules
    share/doc/cairn/copyright share/doc/cairn/changelog.gz
)
for f in "${expect[@]}"; do
    [ -e "$usr/$f" ] || fail "missing $f"
done
for lib in basalt tern mica; do
    soname=$(readelf -d "$usr/$libdir/lib$lib.so.0" 2>/dev/null | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
    [ "$soname" = "lib$lib.so.0" ] || fail "lib$lib has SONAME '$soname'"
done
strays=$(cd "$usr/bin" && ls | grep -v -x -e cairn -e cairnctl -e cairn-stc -e tern-file-server || true)
[ -z "$strays" ] || fail "unexpected files in bin: $strays"
if [ -x "$build/bin/cairn" ]; then
    for f in bin/cairn share/man/man1/cairn.1.gz share/applications/cairn.desktop share/metainfo/cairn.metainfo.xml; do
        [ -e "$usr/$f" ] || fail "the program cairn is built but $f is not installed"
    done
fi

step "installed programs use only installed libraries and data"
for program in "$usr"/bin/*; do
    leaks=$(ldd "$program" | grep -e libbasalt -e libtern -e libmica -e libcairn | grep -v -e "=> $stage/" || true)
    [ -z "$leaks" ] || fail "$(basename "$program") resolves outside the install: $leaks"
done
unset CAIRN_SHARE_DIR CAIRN_PANEL CAIRN_PANEL_FAULT LD_LIBRARY_PATH
sample="$source/tools/cairnctl/samples/sample.kvg"
"$usr/bin/cairnctl" show "$sample" >"$work/show.txt" || fail "installed cairnctl show failed"
grep -q "Main building" "$work/show.txt" || fail "cairnctl show did not list the sample's panel"
# A failure is told in the words of the installed string table of the user's language, not as
# the IDS_nnnnn placeholder of a missing table.
for language in C.UTF-8:"file not found" es_ES.UTF-8:"no se encuentra el archivo"; do
    LANG="${language%%:*}" "$usr/bin/cairnctl" show "$work/missing.kvg" 2>"$work/missing.txt" &&
        fail "show of a missing file succeeded"
    grep -q "${language#*:} \[340\]" "$work/missing.txt" || fail "string table not found: $(cat "$work/missing.txt")"
done
export CAIRN_PANEL="virtual:$work/panel.state"
# A copy: the upload keeps its history beside the facility file.
cp "$sample" "$work/sample.kvg"
"$usr/bin/cairnctl" upload "$work/sample.kvg" --panel 1 >/dev/null 2>&1 || fail "upload to the virtual panel failed"
"$usr/bin/cairnctl" download "$work/received.kvg" >/dev/null 2>&1 || fail "download from the virtual panel failed"
"$usr/bin/cairnctl" verify "$work/received.kvg" --panel 1 >/dev/null 2>&1 || fail "verify after the round trip failed"
"$usr/bin/cairnctl" history "$work/sample.kvg" >"$work/history.txt" || fail "installed cairnctl history failed"
grep -q "upload panel 1" "$work/history.txt" || fail "the upload is not in the history"
unset CAIRN_PANEL

step "manual pages"
mkdir -p "$work/man"
for gz in "$usr"/share/man/man1/*.1.gz; do
    gzip -dc "$gz" >"$work/man/$(basename "$gz" .gz)"
done
"$source/packaging/tests/man_pages.sh" "$usr/bin" "$work/man" || fail "manual pages"

step "desktop files"
desktop="$source/packaging/desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop/cairn.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
    # The one warning left: the component id is not a reverse domain name (the project has no domain).
    appstreamcli validate --no-net --no-color "$desktop/cairn.metainfo.xml" >"$work/appstream.txt" 2>&1 || true
    grep -E "^[EW]:" "$work/appstream.txt" | grep -v "cid-desktopapp-is-not-rdns" && fail "AppStream metainfo"
fi
if command -v xmllint >/dev/null; then
    xmllint --noout "$usr/share/mime/packages/cairn.xml" || fail "shared-mime-info file"
fi
if command -v update-mime-database >/dev/null; then
    mkdir -p "$work/mime/packages"
    cp "$usr/share/mime/packages/cairn.xml" "$work/mime/packages/"
    update-mime-database "$work/mime" >/dev/null 2>&1
    grep -q "application/x-cairn-facility:\*\.kvg" "$work/mime/globs" || fail "*.kvg is not mapped to the facility type"
fi

step "a program of someone else's against the installed Tern and Mica (find_package)"
cmake -S "$source/packaging/consumer" -B "$work/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_PREFIX_PATH="$usr" -DCMAKE_CXX_FLAGS="$flags" >"$work/consumer.log" 2>&1 &&
    cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 || { cat "$work/consumer.log"; fail "consumer build"; }
if [ -x "$work/consumer/tern-consumer" ]; then
    "$work/consumer/tern-consumer" || fail "tern-consumer (find_package)"
    QT_QPA_PLATFORM=offscreen "$work/consumer/mica-consumer" || fail "mica-consumer (find_package)"
    # The consumer must have taken the staged libraries, not the build tree's.
    # Read ldd's whole answer first: grep -q stopping early would kill ldd with SIGPIPE,
    # and under pipefail that reads as a failure.
    linked="$(ldd "$work/consumer/tern-consumer")"
    grep -q "libtern.so.0 => $stage/" <<<"$linked" || { echo "$linked"; fail "tern-consumer links another libtern"; }
fi

step "the same program with pkg-config"
export PKG_CONFIG_SYSROOT_DIR="$stage"
export PKG_CONFIG_LIBDIR="$usr/$libdir/pkgconfig:/usr/lib/$(basename "$libdir")/pkgconfig:/usr/lib/pkgconfig:/usr/share/pkgconfig"
# shellcheck disable=SC2046,SC2086
if c++ -std=c++20 $flags -o "$work/tern-consumer-pc" "$source/packaging/consumer/main.cpp" \
        $(pkg-config --cflags --libs tern) 2>"$work/pc.log"; then
    LD_LIBRARY_PATH="$usr/$libdir" "$work/tern-consumer-pc" || fail "tern-consumer (pkg-config)"
else
    cat "$work/pc.log"
    fail "pkg-config build"
fi
pkg-config --exists --print-errors mica || fail "pkg-config mica"
unset PKG_CONFIG_SYSROOT_DIR PKG_CONFIG_LIBDIR

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "staged install: all checks passed"
