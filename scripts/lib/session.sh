# shellcheck shell=bash
# shellcheck disable=SC2154 # root is set by the script that sources this file
# Session plumbing of the scripts that run the program under Xvfb, sourced after `root` (the
# checkout) is set:
#
#   source "$root/scripts/lib/session.sh"
#   use_build [DIR]        $build: the build folder DIR (default: build), relative to the
#                          checkout unless absolute; $prog and $kxt: the program and kxt in it
#   need_built FILE...     each FILE is built (executable), or the script ends
#   need_tools TOOL...     each TOOL is installed, or the script ends
#   session_begin NAME     a work folder ($work), removed at the end together with the program
#                          ($prog_pid), the window manager ($wm_pid) and Xvfb ($xvfb_pid)
#   start_xvfb WxH         a private Xvfb screen of that size, DISPLAY and Qt set for it
#   fail MESSAGE           saves the screen in BUILD/NAME-failure.png and shows the program's
#                          output ($work/program.log), then ends the script
#   wait_for WHAT SECONDS COMMAND...
#   program_ended          the program, told to end, ends within 10 s and with status 0
#
# NAME starts every message. Set session_screenshot= to save no screen on failure, and
# exit_expected=1 once the program is meant to end, so that wait_for no longer fails when it does.

# shellcheck disable=SC2034 # prog and kxt are read by the scripts that source this file
use_build() {
    build=${1:-build}
    [[ $build = /* ]] || build=$root/$build
    prog=$build/src/app/kipsa-prubex
    kxt=$build/src/tools/kxt
}

need_built() {
    local f
    for f in "$@"; do
        [[ -x $f ]] || { echo "$session_name: $f is not built" >&2; exit 1; }
    done
}

need_tools() {
    local t
    for t in "$@"; do
        command -v "$t" >/dev/null ||
            { echo "$session_name: $t is not installed (scripts/deps.sh)" >&2; exit 1; }
    done
}

session_begin() {
    session_name=$1
    session_screenshot=1
    work=$(mktemp -d)
    prog_pid=
    wm_pid=
    xvfb_pid=
    trap session_cleanup EXIT
}

# Stops the program, the window manager and Xvfb, those that run.
session_stop() {
    if [[ -n $prog_pid ]] && kill -0 "$prog_pid" 2>/dev/null; then
        kill "$prog_pid" 2>/dev/null || true
        wait "$prog_pid" 2>/dev/null || true
    fi
    local pid
    for pid in "$wm_pid" "$xvfb_pid"; do
        if [[ -n $pid ]]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    prog_pid=
    wm_pid=
    xvfb_pid=
}

session_cleanup() {
    session_stop
    rm -rf "$work"
}

fail() {
    echo "$session_name: FAIL: $*" >&2
    if [[ -n $session_screenshot && -n ${DISPLAY:-} ]]; then
        import -window root "$build/$session_name-failure.png" 2>/dev/null &&
            echo "$session_name: screen saved in $build/$session_name-failure.png" >&2
    fi
    if [[ -s $work/program.log ]]; then
        echo "$session_name: program output:" >&2
        sed 's/^/    /' "$work/program.log" >&2
    fi
    exit 1
}

# wait_for WHAT SECONDS COMMAND...: retries COMMAND every 0.2 s until it succeeds; fails when the
# program ends meanwhile (unless exit_expected is set) or when SECONDS have passed.
wait_for() {
    local what=$1 limit=$2
    shift 2
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        if [[ -n $prog_pid && -z ${exit_expected:-} ]] && ! kill -0 "$prog_pid" 2>/dev/null; then
            prog_pid=
            fail "the program ended while waiting for $what"
        fi
        ((SECONDS < end)) || fail "timed out after ${limit} s waiting for $what"
        sleep 0.2
    done
}

program_ended() {
    wait_for "the program to exit" 10 bash -c "! kill -0 $prog_pid"
    wait "$prog_pid" || fail "the program ended with status $?"
    prog_pid=
}

start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for "Xvfb to start" 10 test -s "$work/display"
    DISPLAY=:$(head -n1 "$work/display")
    export DISPLAY
    export QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0 QT_SCALE_FACTOR=1
    unset QT_AUTO_SCREEN_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
}

# --- windows, keys and the results file ------------------------------------------------------
# find_window PATTERN: the first visible window whose name matches.
find_window() { xdotool search --onlyvisible --name "$1" | head -n1; }

# key KEY...: pressed with no modifier held, then a moment for the program.
key() {
    xdotool key --clearmodifiers "$@"
    sleep 0.3
}

# gone PATTERN ID: that window is no longer among the visible ones of that name.
visible_ids() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }
gone() { ! visible_ids "$1" | grep -qx "$2"; }

# field TEXT: a text as the results file stores it, its length first in ten digits.
field() { printf '%010d%s' "${#1}" "$1"; }

# check_results EXPECTED FILE: fails unless FILE holds EXPECTED exactly.
check_results() {
    local actual
    actual=$(cat "$2")
    if [[ $actual != "$1" ]]; then
        echo "$session_name: expected: $1" >&2
        echo "$session_name: actual:   $actual" >&2
        fail "the results file does not hold the marks made"
    fi
}
