#!/usr/bin/env bash
# The installed AppStream metadata passes appstreamcli validate: check_metainfo.sh STAGE_DIR
# shellcheck source=tests/packaging/common.sh
source "$(dirname "$0")/common.sh"
need appstreamcli appstream
metainfo=$1/share/metainfo/$app_id.metainfo.xml
[[ -f $metainfo ]] || fail "$metainfo is not installed"
appstreamcli validate --no-net --no-color "$metainfo" || fail "appstreamcli validate"
