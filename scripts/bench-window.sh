#!/usr/bin/env bash
# Window benchmarks: page switches on the offscreen platform and start-up to ready, each with
# its baseline measured in the same run, interleaved. Builds Release with -DKP_BENCH=ON.
#
#   scripts/bench-window.sh [BUILD_DIR]      (default: build-bench)
#
# Rows printed: the figure, its baseline, the ratio and the goal. Each is also given in CPU
# time (the page's thread, the start-up's whole process), which the load of other programs on
# the machine inflates far less than wall time.
set -euo pipefail
cd "$(dirname "$0")/.."

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
    local dir=${1:-build-bench}
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKP_BENCH=ON -DKP_TESTS=OFF >/dev/null
    cmake --build "$dir" -j "$(nproc)" --target bench_window_page bench_startup >/dev/null

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

bench_window "$@"
