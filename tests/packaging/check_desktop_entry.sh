#!/usr/bin/env bash
# The installed desktop entry passes desktop-file-validate: check_desktop_entry.sh STAGE_DIR
# shellcheck source=tests/packaging/common.sh
source "$(dirname "$0")/common.sh"
need desktop-file-validate desktop-file-utils
entry=$1/share/applications/$app_id.desktop
[[ -f $entry ]] || fail "$entry is not installed"
out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[[ -z $out ]] || fail "desktop-file-validate: $out"
echo "$entry: valid"
