#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal build (build-debug, apart from the
# Release build of scripts/run.sh), then an ASan + UBSan build (build-asan).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

jobs=$(nproc)
run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== normal build =="
run_suite build-debug
scripts/e2e.sh build-debug
scripts/install-test.sh build-debug
echo "== sanitizer build (ASan + UBSan) =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan -DKP_SANITIZE=ON
