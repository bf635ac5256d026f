#!/usr/bin/env bash
# Install test: installs a build into a temporary prefix and uses what was installed, as a
# desktop would. kxt reads the installed sample exam; then the installed desktop entry starts the
# installed program on a copy of the sample whose path has blanks (under Xvfb), the exam's page
# colour shows that the exam was opened, and the program is closed through its menu.
#
#   scripts/install-test.sh [BUILD_DIR]      (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/session.sh"
use_build "${1:-}"
session_begin install-test
need_tools Xvfb xdotool import convert gio
prefix=$work/prefix
app_id=example.kipsaprubex.KipsaPrubex

# --- install ------------------------------------------------------------------------------------
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
for f in bin/kipsa-prubex bin/kxt share/kipsa-prubex/muestra.kxt \
    share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
    share/mime/packages/kipsa-prubex.xml share/icons/hicolor/scalable/apps/$app_id.svg \
    share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$app_id.png \
    share/man/man1/kipsa-prubex.1.gz share/man/man1/kxt.1.gz; do
    [[ -e $prefix/$f ]] || fail "$f was not installed"
done
echo "install-test: installed into a temporary prefix"

# --- kxt on the installed sample ----------------------------------------------------------------
info=$("$prefix/bin/kxt" info "$prefix/share/kipsa-prubex/muestra.kxt") || fail "kxt info"
grep -q '"IdExamen": "MUESTRA-2026"' <<<"$info" || fail "kxt info does not show the sample exam"
echo "install-test: the installed kxt reads the installed sample"

# --- the program, started through its desktop entry -----------------------------------------------
mkdir -p "$work/mis examenes"
exam="$work/mis examenes/examen de muestra.kxt"
cp "$prefix/share/kipsa-prubex/muestra.kxt" "$exam"

start_xvfb 1280x1024

# The entry's Exec line names the program without a folder: the prefix's bin comes first.
(cd "$work" && PATH="$prefix/bin:$PATH" XDG_DATA_DIRS="$prefix/share:/usr/share" \
    gio launch "$prefix/share/applications/$app_id.desktop" "$exam") >"$work/program.log" 2>&1 ||
    fail "gio launch"

wait_for "the window \"Kipsa Prubex v1.0\"" 20 find_window '^Kipsa Prubex v1\.0$'
win=$(find_window '^Kipsa Prubex v1\.0$')
prog_pid=$(xdotool getwindowpid "$win") || fail "the window has no process id"
[[ $(readlink "/proc/$prog_pid/exe") == "$prefix/bin/kipsa-prubex" ]] ||
    fail "the window belongs to $(readlink "/proc/$prog_pid/exe"), not the installed program"
echo "install-test: the window \"Kipsa Prubex v1.0\" appeared"

# The sample's page colour, RGB(255, 248, 240), fills the window below the menu bar only when
# the exam was opened; its first row gives the menu bar's height.
eval "$(xdotool getwindowgeometry --shell "$win")" # X, Y, WIDTH, HEIGHT
menu_height() {
    import -window "$win" "$work/shot.png" 2>/dev/null || return 1
    local y
    y=$(convert "$work/shot.png" -crop "1x200+$((WIDTH - 3))+0" +repage txt:- |
        awk 'NR > 1 && index($0, "(255,248,240)") { split($1, p, "[,:]"); print p[2]; exit }')
    [[ -n $y ]] && echo "$y"
}
wait_for "the sample exam's page colour" 10 menu_height
menu_h=$(menu_height)
echo "install-test: the program opened the exam at \"$exam\""

# --- closing: Archivo > Salir, then "Sí" ------------------------------------------------------
xdotool mousemove --sync $((X + 30)) $((Y + menu_h / 2)) click 1
sleep 0.3
xdotool key --clearmodifiers s
wait_for "the question \"Atención!\"" 10 find_window '^Atención!$'
xdotool windowactivate --sync "$(find_window '^Atención!$')" 2>/dev/null || true
xdotool key --clearmodifiers Return
exit_expected=1
wait_for "the program to end" 10 bash -c "! kill -0 $prog_pid"
prog_pid=
echo "install-test: OK"
