#!/usr/bin/env bash
# Builds Release in build-bench, makes the big inputs with our own code and runs the benchmark
# rows, each against its baseline, interleaved in the same run. Prints each row's figure, its
# baseline and the ratio, with the date and the load average (the machine may be shared: read
# the ratios, not the absolute times).
#
#   scripts/bench.sh [Google Benchmark flags, e.g. --benchmark_filter=grade]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

dir=build-bench
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKP_BENCH=ON -DKP_TESTS=OFF > /dev/null
cmake --build "$dir" -j 2 --target kxt sample_exam bench_inputs bench_load_once bench_read_floor \
    bench_core

# The inputs: a 52 MB exam of 20,000 questions (long texts, half of them RTF), a 200 MB exam of
# 100 pictures of 2 MB, 10,000 results files of a 60-question exam; kept between runs.
inputs="$dir/inputs"
"$dir/bench/bench_inputs" "$inputs"

echo "== load average before: $(cut -d' ' -f1-3 /proc/loadavg) =="

# --- Core rows: kxt info, loading in a fresh process, kxt grade -----------------------------
"$dir/bench/bench_core" --inputs="$inputs" --sample="$dir/examples/muestra.kxt" \
    --kxt="$dir/src/tools/kxt" --load-once="$dir/bench/bench_load_once" \
    --read-floor="$dir/bench/bench_read_floor" "$@"

# --- Window rows (page switch, start-up) -----------------------------------------------------
# Added by the window work: build its targets above and run them here, printing their rows in
# the same form (figure, baseline, ratio, goal) after the core rows.

echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg) =="
