#!/usr/bin/env bash
# The sample class and its report: builds the sample exam with kxt, makes the results files of
# its 60 students in examples/clase (clase_muestra, from a fixed seed), writes the report with
# kxt report and takes a screenshot of it with headless Chromium into docs/informe.png.
#
#   scripts/sample-report.sh [BUILD_DIR]      (default: build)
#
# Fails when Chromium reports an error of the page (the report has no scripts, so there
# should be none).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ $build = /* ]] || build=$root/$build

# Chromium is needed here only, so it is installed here rather than by scripts/deps.sh.
if ! command -v chromium >/dev/null; then
    echo "Installing: chromium"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends chromium
fi

[[ -f $build/CMakeCache.txt ]] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j 2 --target kxt sample_exam clase_muestra
exam=$build/examples/muestra.kxt

rm -f "$root"/examples/clase/*.kxa
"$build/examples/clase_muestra" "$exam" "$root/examples/clase"
report=$build/examples/informe.html
"$build/src/tools/kxt" report "$exam" "$root/examples/clase" -o "$report"
echo "sample-report: $(ls "$root"/examples/clase/*.kxa | wc -l) results files, report in $report"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chrome=(chromium --headless --no-sandbox --disable-gpu --disable-background-networking
        --disable-component-update --disable-sync --no-first-run --hide-scrollbars
        --user-data-dir="$work/profile" --enable-logging=stderr --v=0)
mkdir -p "$root/docs"
"${chrome[@]}" --window-size=960,2300 --screenshot="$root/docs/informe.png" \
    "file://$report" 2>"$work/chromium.log" || { cat "$work/chromium.log" >&2; exit 1; }
# The page must have been read whole, and without any script error.
"${chrome[@]}" --dump-dom "file://$report" 2>>"$work/chromium.log" >"$work/dom.html"
grep -q 'id="glosario"' "$work/dom.html" || { echo "sample-report: the page was not read" >&2; exit 1; }
if grep -E 'Uncaught|:CONSOLE|SyntaxError' "$work/chromium.log" >&2; then
    echo "sample-report: Chromium reported errors of the page" >&2
    exit 1
fi
echo "sample-report: saved docs/informe.png"
