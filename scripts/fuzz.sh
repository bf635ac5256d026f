#!/usr/bin/env bash
# Fuzzes one reader with libFuzzer for a number of seconds:
#   scripts/fuzz.sh TARGET SECONDS     TARGET: exam, question, results, json or rtf
# Builds build-fuzz with clang (ASan + UBSan, coverage on our libraries), writes the seeds our
# own code makes into build-fuzz/seeds/TARGET, and runs the target on its working corpus
# (build-fuzz/corpus/TARGET, kept between runs), the seeds and the replay set tests/fuzz/TARGET,
# with the target's dictionary. Inputs that crash, break a property, run slow or allocate too
# much land in build-fuzz/findings/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."

targets="exam question results json rtf journal"
if [ $# -ne 2 ] || ! [[ " $targets " == *" $1 "* ]] || ! [[ $2 =~ ^[0-9]+$ ]]; then
    echo "usage: scripts/fuzz.sh TARGET SECONDS   (TARGET: ${targets// /, })" >&2
    exit 2
fi
target=$1
seconds=$2
build=build-fuzz

# Inputs are at most 64 KiB. No reader may make one allocation of more than 16 MB out of that
# (texts widen to UTF-16, pictures are copied once); the rich-text layout gets more room for
# the document and its fonts. One input may take 10 s under the sanitizers.
max_len=65536
malloc_limit_mb=16
[ "$target" = rtf ] && malloc_limit_mb=64
timeout=10

scripts/deps.sh
# A build folder configured with another compiler starts afresh.
cached=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[ -n "$cached" ] && [ "$(basename "$cached")" != clang++-14 ] && rm -rf "$build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
    -DCMAKE_CXX_COMPILER=clang++-14 -DKP_FUZZ=ON -DKP_SANITIZE=ON -DKP_TESTS=OFF
cmake --build "$build" -j 2 --target "fuzz_$target" fuzz_seeds

rm -rf "$build/seeds/$target"
"$build/tests/fuzz/fuzz_seeds" "$build/seeds" >/dev/null
# The journal has no seeds of its own: the fuzzer starts from its dictionary.
mkdir -p "$build/corpus/$target" "$build/findings/$target" "$build/seeds/$target"
corpora=("$build/corpus/$target" "$build/seeds/$target")
[ -d "tests/fuzz/$target" ] && corpora+=("tests/fuzz/$target")

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$build/tests/fuzz/fuzz_$target" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout="$timeout" \
    -malloc_limit_mb="$malloc_limit_mb" -rss_limit_mb=2048 \
    -dict="tests/fuzz/$target.dict" -artifact_prefix="$build/findings/$target/" \
    -print_final_stats=1 "${corpora[@]}"
