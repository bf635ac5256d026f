#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal build with g++ (build-debug, apart from
# the Release build of scripts/run.sh), then an ASan + UBSan build with clang (build-asan), so
# that both compilers see every change.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

jobs=$(nproc)
run_suite() {
    local dir=$1 compiler=$2; shift 2
    # A build folder configured with another compiler starts afresh.
    local cached
    cached=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$dir/CMakeCache.txt" 2>/dev/null || true)
    if [ -n "$cached" ] && [ "$(basename "$cached")" != "$compiler" ]; then
        rm -rf "$dir"
    fi
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER="$compiler" "$@"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== normal build (g++) =="
run_suite build-debug g++
scripts/e2e.sh build-debug
scripts/install-test.sh build-debug
# Keyboard and screen reader: an exam sat with the keys alone, the window walked on the
# accessibility bus.
scripts/e2e-keyboard.sh build-debug
scripts/e2e-keyboard.sh build-debug --wm
scripts/a11y.sh build-debug
echo "== sanitizer build (ASan + UBSan, clang) =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan clang++-14 -DKP_SANITIZE=ON
# The accessibility walk again on the sanitizer build (the leaks of the X and D-Bus libraries
# the real program loads are theirs, not ours).
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 scripts/a11y.sh build-asan
