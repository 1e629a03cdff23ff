#!/usr/bin/env bash
# The Debian packages end to end: builds them (Release, with Debian's hardening flags), runs
# lintian, installs them into a fresh minimal Debian 12 root made by debootstrap from the mirror
# apt uses, runs packaging/tests/in_root.sh there, removes them and checks that nothing of ours
# is left. Slow (a Release build and a download of a Debian root), so not part of .ci/run.
#
#   scripts/test-package.sh            # needs root (debootstrap, chroot)
# Environment: CAIRN_PKG_BUILD (build folder, default build-pkg), CAIRN_PKG_ROOT (the Debian root,
# default /var/tmp/cairn-package-root; made anew each run), CAIRN_PKG_MIRROR (default: apt's).
set -euo pipefail
cd "$(dirname "$0")/.."
source="$(pwd)"
build="${CAIRN_PKG_BUILD:-build-pkg}"
root="${CAIRN_PKG_ROOT:-/var/tmp/cairn-package-root}"
[ "$(id -u)" -eq 0 ] || { echo "test-package.sh: run as root (debootstrap and chroot need it)" >&2; exit 2; }

section() {
    echo
    echo "=== $* ($(date -u +%H:%M:%S))"
}

apt_mirror() {
    local uri
    uri=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
    [ -n "$uri" ] || uri=$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
    echo "${uri:-http://deb.debian.org/debian}"
}

section "dependencies"
scripts/install-deps

section "Release build in $build"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all  # bindnow and PIE too
cppflags="$(dpkg-buildflags --get CPPFLAGS)"
nice -n 19 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCAIRN_TESTS=OFF -DCAIRN_BENCH=OFF -DCAIRN_SANITIZE=OFF \
    -DCMAKE_C_FLAGS="$cppflags $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$cppflags $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_SHARED_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
nice -n 19 cmake --build "$build"

section "packages and lintian"
packages="$build/packages"
packaging/tests/package_lintian.sh "$build" "$packages"
for deb in "$packages"/*.deb; do
    echo "--- $(basename "$deb")"
    dpkg-deb --field "$deb" Package Version Architecture Depends Section
done

section "a fresh Debian 12 root in $root"
cleanup() {
    for m in dev/pts proc; do
        mountpoint -q "$root/$m" && umount "$root/$m" || true
    done
}
trap cleanup EXIT
cleanup
rm -rf "$root"
mirror="${CAIRN_PKG_MIRROR:-$(apt_mirror)}"
echo "mirror: $mirror"
nice -n 19 debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -20 "$root.debootstrap.log"; exit 1; }
cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/" 2>/dev/null && rm -f "$root/etc/apt/sources.list"
mount -t proc proc "$root/proc"
mount -t devpts devpts "$root/dev/pts"
in_root() {
    chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

section "what the checks need, then the packages with apt-get install ./cairn_*.deb"
mkdir -p "$root/tmp/cairn-test"
cp "$packages"/*.deb tools/cairnctl/samples/sample.kvg packaging/tests/in_root.sh "$root/tmp/cairn-test/"
cp -r packaging/consumer "$root/tmp/cairn-test/consumer"
in_root apt-get update -qq
# The tools of the checks first, so that the packages' triggers (menu, file types) run for ours.
in_root apt-get install -y -qq --no-install-recommends g++ cmake make pkg-config xdg-utils \
    desktop-file-utils shared-mime-info libfile-mimeinfo-perl man-db >/dev/null
in_root find / -xdev -path /proc -prune -o -path /tmp -prune -o -name '*cairn*' -print | sort >"$root.before"
in_root sh -c 'cd /tmp/cairn-test && apt-get install -y --no-install-recommends ./cairn_*.deb ./cairn-dev_*.deb' \
    >"$root.install.log" 2>&1 || { tail -30 "$root.install.log"; exit 1; }
grep -E "cairn|^Processing triggers|newly installed" "$root.install.log"

section "checks in the root"
checks=0
in_root bash /tmp/cairn-test/in_root.sh || checks=1

section "removal"
in_root apt-get purge -y cairn cairn-dev
in_root apt-get autoremove -y --purge -qq >/dev/null
in_root find / -xdev -path /proc -prune -o -path /tmp -prune -o -name '*cairn*' -print | sort >"$root.after"
left=$(comm -13 "$root.before" "$root.after")
caches=$(grep -l -r "cairn" "$root/usr/share/applications/mimeinfo.cache" "$root/usr/share/mime/globs2" 2>/dev/null || true)
if [ -n "$left$caches" ]; then
    echo "left behind after removal:"
    echo "$left"
    echo "$caches"
    exit 1
fi
echo "nothing of cairn is left in the root"
[ "$checks" -eq 0 ] || { echo "scripts/test-package.sh: checks in the root failed"; exit 1; }

section "done"
echo "scripts/test-package.sh: all checks passed"
