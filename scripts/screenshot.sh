#!/usr/bin/env bash
# Runs the program on the sample exam under a private Xvfb screen and saves screenshots:
# docs/screenshot.png (the briefing) and docs/screenshot-pregunta.png (the first question, after
# typing a name and pressing "Empezar") on a 1280 x 800 screen, docs/screenshot-teclado.png (the
# keyboard's focus frame on the second answer's box, after the Down arrow), then
# docs/screenshot-800x600.png and docs/screenshot-800x600-pregunta.png on an 800 x 600 screen.
#
#   scripts/screenshot.sh [BUILD_DIR]     (default: build; needs kipsa-prubex and the sample)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/session.sh"
use_build "${1:-}"
exam=$build/examples/muestra.kxt
for f in "$prog" "$exam"; do
    [[ -e $f ]] || { echo "screenshot: $f is not built" >&2; exit 1; }
done
for t in Xvfb xdotool import; do
    command -v "$t" >/dev/null || { echo "screenshot: $t is not installed" >&2; exit 1; }
done

session_begin screenshot

# start_session WIDTHxHEIGHT: a private screen of that size with the program on the sample.
start_session() {
    # A display number nobody else uses.
    display=
    for n in $(seq 90 140); do
        if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
    done
    [[ -n $display ]] || { echo "screenshot: no free display" >&2; exit 1; }
    Xvfb "$display" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=$display
    for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

    # The results file goes to the working folder ("resultado_<name>.kxa"): keep it out of the
    # tree.
    (cd "$work" && exec "$prog" "$exam") >"$work/program.log" 2>&1 &
    prog_pid=$!
    win=
    for _ in $(seq 100); do
        win=$(xdotool search --name "Kipsa Prubex" 2>/dev/null | head -1) && [[ -n $win ]] && break
        sleep 0.1
    done
    [[ -n $win ]] ||
        { echo "screenshot: the window did not appear" >&2; cat "$work/program.log" >&2; exit 1; }
    sleep 1.5
    xdotool windowfocus --sync "$win" 2>/dev/null || true
}

# The "Nombre" field has the focus first; type a name and a course, then press "Empezar".
sit_down() {
    xdotool type --window "$win" --delay 20 "Ana García"
    xdotool key --window "$win" Tab
    xdotool type --window "$win" --delay 20 "2B"
    local k
    for k in "$@"; do
        sleep 0.3
        xdotool key --window "$win" "$k"
    done
    sleep 1.5
}

mkdir -p "$root/docs"
start_session 1280x800
import -window root "$root/docs/screenshot.png"
sit_down Tab space
import -window root "$root/docs/screenshot-pregunta.png"
# The keyboard is on the first answer's box; the arrow takes it to the second, with its frame.
xdotool key --window "$win" Down
sleep 0.5
import -window root "$root/docs/screenshot-teclado.png"
session_stop

start_session 800x600
import -window root "$root/docs/screenshot-800x600.png"
sit_down Return
import -window root "$root/docs/screenshot-800x600-pregunta.png"
echo "screenshot: saved docs/screenshot.png, docs/screenshot-pregunta.png," \
    "docs/screenshot-teclado.png, docs/screenshot-800x600.png and" \
    "docs/screenshot-800x600-pregunta.png"
