#!/usr/bin/env bash
# End-to-end run of the real program under Xvfb: builds a two-question exam with kxt, opens it,
# types the student's name, starts, marks one answer on each question, finishes and checks the
# bytes of the results file the program wrote; then closes the program through its menu.
#
#   scripts/e2e.sh [BUILD_DIR]      (default: build; needs kipsa-prubex and kxt built there)
#
# The screen has a fixed size and the exam has no logo, so the mark boxes sit at client
# positions known from the window's twips layout; only the height of the menu bar is measured,
# from a screenshot, because it depends on the font.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/session.sh"
use_build "${1:-}"
session_begin e2e
need_built "$prog" "$kxt"
need_tools Xvfb xdotool import convert

# --- the exam -------------------------------------------------------------------------------
# Background RGB(250, 235, 200), stored with red in the low byte.
bg_rgb="250,235,200"
bg_value=$((250 + 235 * 256 + 200 * 65536))
mkdir -p "$work/out"
cat >"$work/e2e.json" <<EOF
{
    "IdExamen": "E2E-01",
    "Titulo": "Prueba de extremo a extremo",
    "DatoAlumno1": "Nombre",
    "TipoExamen": 1,
    "MinutosLimite": 30,
    "ColorFondo": $bg_value,
    "ColorFuente": 0,
    "LogoDerecha": false,
    "SoloUnaRespuesta": false,
    "MostrarNota": true,
    "MostrarFallos": true,
    "GuardarArchivoResultados": true,
    "AlumnoDefineArchivoResultados": false,
    "RutaArchivoResultados": "$work/out/resultado",
    "NotaMaxima": 10,
    "Penalizacion": 0,
    "PenalizarBlancas": 0,
    "TipoPenalizacion": 1,
    "UnaRespuestaSuficiente": 0,
    "Preguntas": [
        {"Id": "e2e-1", "TextoPregunta": "¿Cuánto es 2 + 2?",
         "respuestas": [{"Texto": "4", "Correcta": true}, {"Texto": "5", "Correcta": false},
                        {"Texto": "6", "Correcta": false}]},
        {"Id": "e2e-2", "TextoPregunta": "¿De qué color es el cielo despejado?",
         "respuestas": [{"Texto": "Verde", "Correcta": false}, {"Texto": "Azul", "Correcta": true},
                        {"Texto": "Rojo", "Correcta": false}]}
    ]
}
EOF
"$kxt" build "$work/e2e.json" -o "$work/e2e.kxt" || fail "kxt could not build the exam"

# --- the display ----------------------------------------------------------------------------
start_xvfb 1280x1024

(cd "$work" && exec "$prog" "$work/e2e.kxt") >"$work/program.log" 2>&1 &
prog_pid=$!

wait_for "the exam window" 20 find_window '^Kipsa Prubex v1\.0$'
win=$(find_window '^Kipsa Prubex v1\.0$')
sleep 0.5 # let the window settle at its final size
eval "$(xdotool getwindowgeometry --shell "$win")" # X, Y, WIDTH, HEIGHT
win_x=$X
win_y=$Y

# first_pixel SHOT GEOMETRY RGB: offset along a one-pixel crop of the first pixel of that colour.
first_pixel() {
    convert "$1" -crop "$2" +repage txt:- |
        awk -v want="($3)" 'NR > 1 && index($0, want) { split($1, p, "[,:]"); print p[1] + p[2]; exit }'
}

# The client area starts below the menu bar: the first row of the exam's background colour in
# a column right of every control (the page frame ends 120 twips short of the edge).
menu_height() {
    import -window "$win" "$work/shot.png" 2>/dev/null || return 1
    local y
    y=$(first_pixel "$work/shot.png" "1x200+$((WIDTH - 3))+0" "$bg_rgb")
    [[ -n $y ]] && echo "$y"
}
wait_for "the exam background under the menu bar" 10 menu_height
menu_h=$(menu_height)
client_y=$((win_y + menu_h))
client_x=$win_x

# click_twips X Y: a left click at a point of the client area given in twips.
click_twips() {
    xdotool mousemove --sync $((client_x + $1 / 15)) $((client_y + $2 / 15)) click 1
    sleep 0.3
}

# Dialogs are found by their titles; each must appear before it is answered, and that very
# window must go away (the next one may carry the same title).
answer_dialog() {
    local title=$1 keys=$2 id
    wait_for "the \"$title\" window" 10 find_window "^$title\$"
    id=$(find_window "^$title\$")
    xdotool windowactivate --sync "$id" 2>/dev/null || true
    key "$keys"
    wait_for "the \"$title\" window to close" 10 gone "^$title\$" "$id"
}

# --- the student's data and the start ----------------------------------------------------------
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
# The name field is the first control of the data frame that takes the keyboard; Empezar follows.
xdotool type --delay 50 "Ana"
key Tab
key space
wait_for "the start (caption with the student's name)" 10 find_window '^Kipsa Prubex v1\.0 \(Alumno: Ana'

# --- marks: rows of a page without an image start at y 1665 and pitch 735 twips -------------
# Page frame at (120, 2685) in the client for an exam without a logo; mark boxes at x 2400..2880.
page_left=120
page_top=2685
box_x=$((page_left + 2640))
row_y() { echo $((page_top + 1665 + ($1 - 1) * 735)); }

# The buttons are placed from the client width the layout was made for; the white page frame
# ends 120 twips short of it, which a screenshot shows.
layout_width() {
    import -window "$win" "$work/shot.png" 2>/dev/null || return 1
    local y=$((menu_h + (page_top + 100) / 15)) off
    off=$(convert "$work/shot.png" -crop "${WIDTH}x1+0+$y" +repage -flop txt:- |
        awk 'NR > 1 && index($0, "(255,255,255)") { split($1, p, "[,:]"); print p[1]; exit }')
    [[ -n $off ]] && echo $(((WIDTH - off) * 15 + 120))
}
wait_for "the question page" 10 layout_width
sw=$(layout_width)

click_twips "$box_x" "$(row_y 1)"                   # question 1: answer 1
click_twips $(((sw - 240) / 2 + 3255 / 2)) 2377     # "Siguiente pregunta >>"
click_twips "$box_x" "$(row_y 2)"                   # question 2: answer 2

# --- finishing ---------------------------------------------------------------------------------
# FinalizarBtn sits 120 twips from the right edge when the logo is on the left.
click_twips $((sw - 120 - 3255 / 2)) $((120 + 495 / 2))
answer_dialog "Fin de examen" Return   # "¿Desea realmente finalizar...?" -> Sí (the default)
# The results are on disk before the end is announced, while its message is still unanswered.
result=$work/out/resultado_Ana.kxa
wait_for "the results file" 5 test -s "$result"
answer_dialog "Fin de examen" Return   # "El examen ha finalizado." -> OK
answer_dialog "Calificación" Return    # the grade window -> Salir

expected=$(
    printf '0000000300'
    field "E2E-01"
    printf '0000000001'
    field "Nombre"
    field "Ana"
    for _ in 2 3 4 5; do printf '00000000000000000000'; done
    printf '0000000002'
    printf '00000000010000000001'
    field "1;"
    printf '00000000010000000002'
    field "2;"
)
check_results "$expected" "$result"

# --- closing through the menu: Archivo > Salir, then Sí ----------------------------------------
# Without a window manager the focus does not come back by itself: open the menu by a click
# on its title, then its mnemonic.
xdotool mousemove --sync $((win_x + 30)) $((win_y + menu_h / 2)) click 1
sleep 0.3
key s
exit_expected=1
answer_dialog "Atención!" Return
program_ended

echo "e2e: OK (results file $(wc -c <"$result" 2>/dev/null || echo '?') bytes checked)"
