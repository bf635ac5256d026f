#!/usr/bin/env bash
# Installs the build into a fresh staging folder: stage.sh BUILD_DIR STAGE_DIR
# shellcheck source=tests/packaging/common.sh
source "$(dirname "$0")/common.sh"
build=$1 stage=$2
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null || fail "cmake --install failed"
echo "installed into $stage"
