# shellcheck shell=bash
# Shared by the packaging checks (sourced).
set -euo pipefail

# need TOOL PACKAGE...: skips the check (status 77) when a tool is missing.
need() {
    while (($#)); do
        command -v "$1" >/dev/null ||
            { echo "SKIP: $1 is not installed (Debian package $2; scripts/deps.sh installs it)"; exit 77; }
        shift 2
    done
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# shellcheck disable=SC2034 # read by the checks that source this file
app_id=example.kipsaprubex.KipsaPrubex
