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

# bench_csv PROGRAM ARGS...: the program's rows as CSV, one line per benchmark.
bench_csv() {
    "$@" --benchmark_format=csv 2>/dev/null | grep -E '^(name|"BM_)'
}

# field CSV ROW NAME: a column of a benchmark's row, by the header's name.
field() {
    awk -F, -v row="$2" -v name="$3" '
        NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); col[$i] = i }; next }
        index($1, row) { printf "%.2f", $(col[name]); exit }' <<<"$1"
}

bench_window() {
    local dir=$1
    echo "== window (offscreen), load average: $(cut -d' ' -f1-3 /proc/loadavg) =="
    local page startup
    page=$(bench_csv "$dir/bench/bench_window_page")
    for row in LongText:2:4 Sample:0.5:-; do
        IFS=: read -r name goal goal90 <<<"$row"
        printf '%-28s median %s ms, p90 %s ms (thread CPU %s / %s ms); kept page %s ms (CPU %s); ratio %s; goal <= %s ms median%s\n' \
            "page switch, $name" \
            "$(field "$page" "$name" median_ms)" "$(field "$page" "$name" p90_ms)" \
            "$(field "$page" "$name" cpu_median_ms)" "$(field "$page" "$name" cpu_p90_ms)" \
            "$(field "$page" "$name" kept_median_ms)" "$(field "$page" "$name" kept_cpu_median_ms)" \
            "$(field "$page" "$name" ratio)" "$goal" \
            "$([[ $goal90 = - ]] || echo ", <= $goal90 ms p90")"
    done
    startup=$(bench_csv "$dir/bench/bench_startup")
    printf '%-28s median %s ms; bare QMainWindow %s ms; +%s ms, ratio %s (process CPU %s ms against %s, +%s ms); goal <= +30 ms\n' \
        "start-up to ready, sample" \
        "$(field "$startup" StartUp median_ms)" "$(field "$startup" StartUp bare_median_ms)" \
        "$(field "$startup" StartUp extra_ms)" "$(field "$startup" StartUp ratio)" \
        "$(field "$startup" StartUp cpu_median_ms)" "$(field "$startup" StartUp bare_cpu_median_ms)" \
        "$(field "$startup" StartUp cpu_extra_ms)"
}

dir=build-bench
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKP_BENCH=ON -DKP_TESTS=OFF > /dev/null
cmake --build "$dir" -j 2 --target kxt sample_exam bench_inputs bench_load_once bench_read_floor \
    bench_core bench_window_page bench_startup

# The inputs: a 52 MB exam of 20,000 questions (long texts, half of them RTF), a 200 MB exam of
# 100 pictures of 2 MB, 10,000 results files of a 60-question exam; kept between runs.
inputs="$dir/inputs"
"$dir/bench/bench_inputs" "$inputs"

echo "== load average before: $(cut -d' ' -f1-3 /proc/loadavg) =="

# --- Core rows: kxt info, loading in a fresh process, kxt grade -----------------------------
"$dir/bench/bench_core" --inputs="$inputs" --sample="$dir/examples/muestra.kxt" \
    --kxt="$dir/src/tools/kxt" --load-once="$dir/bench/bench_load_once" \
    --read-floor="$dir/bench/bench_read_floor" "$@"

# --- Window rows (page switch, start-up), offscreen ---------------------------------------------
# Each row is also given in CPU time (the page's thread, the start-up's whole process), which the
# load of other programs on the machine inflates far less than wall time.
bench_window "$dir"

echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg) =="
