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
# Keyboard and screen reader: an exam sat with the keys alone, the window walked on the
# accessibility bus.
scripts/e2e-keyboard.sh build-debug
scripts/e2e-keyboard.sh build-debug --wm
scripts/a11y.sh build-debug
echo "== sanitizer build (ASan + UBSan) =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan -DKP_SANITIZE=ON
# The accessibility walk again on the sanitizer build (the leaks of the X and D-Bus libraries
# the real program loads are theirs, not ours).
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 scripts/a11y.sh build-asan
