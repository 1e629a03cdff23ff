#!/usr/bin/env bash
# Makes the Debian packages from a build tree with CPack and checks them with lintian.
#   package_lintian.sh BUILD_DIR [OUT_DIR]
# Exit 77 (skipped) when lintian or dpkg-shlibdeps is missing. The tags that lintian.overrides
# lists are explained there; a build that is not Release also shows the tags of its compiler flags.
set -euo pipefail
build="$(cd "$1" && pwd)"
source="$(cd "$(dirname "$0")/../.." && pwd)"
for tool in lintian dpkg-shlibdeps cpack; do
    command -v "$tool" >/dev/null || { echo "skip: $tool is missing"; exit 77; }
done
if [ -n "${2:-}" ]; then
    out="$2"
    mkdir -p "$out"
else
    out="$(mktemp -d)"
    trap 'rm -rf "$out"' EXIT
fi

rm -f "$out"/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
rm -rf "$out/_CPack_Packages"
ls "$out"/*.deb

suppress=$(grep -v '^#' "$source/packaging/debian/lintian-tags" | awk 'NF { print $1 }' | paste -sd, -)
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ "$build_type" != "Release" ]; then
    # Unoptimised and sanitizer builds have no fortified functions; only Release builds are shipped.
    suppress="$suppress,hardening-no-fortify-functions"
fi
lintian --fail-on error,warning --suppress-tags "$suppress" --tag-display-limit 0 "$out"/*.deb
echo "lintian: no errors or warnings beyond the ones explained in packaging/debian/lintian-tags"
