#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it with lintian (no errors; warnings shown):
# check_deb.sh BUILD_DIR VERSION
# shellcheck source=tests/packaging/common.sh
source "$(dirname "$0")/common.sh"
need cpack cmake dpkg-shlibdeps dpkg-dev dpkg-deb dpkg lintian lintian
build=$(cd "$1" && pwd) version=$2
out=$build/packaging-deb
rm -rf "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 ||
    { cat "$out.log" >&2; fail "cpack -G DEB"; }
deb=$out/kipsa-prubex_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { ls "$out" >&2; fail "cpack did not make $(basename "$deb")"; }
dpkg-deb --info "$deb" | sed -n 's/^ \(Depends\|Recommends\):/\1:/p'
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors"
echo "ok: $(basename "$deb") has no lintian errors"
