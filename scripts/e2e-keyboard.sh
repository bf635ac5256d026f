#!/usr/bin/env bash
# A whole exam sat with the keyboard alone, on the real program under Xvfb at 800 x 600: the
# data (typed, Tab between fields), Enter to start, Space on the focused box and the arrows
# between rows on every page, Alt+Right / Alt+S / Alt+Left between questions, "Archivo >
# Finalizar Examen" from its mnemonics, Enter on the confirmation, the end and the grade window;
# then the bytes of the results file; then "Archivo > Salir".
#
#   scripts/e2e-keyboard.sh [BUILD_DIR] [--wm]   (default: build; needs kipsa-prubex and kxt)
#
# Without --wm no window manager runs: where one would give the keyboard to the exam window
# (when it appears, after a dialog closes), the script does (xdotool windowfocus); nothing is
# clicked. With --wm openbox runs and the name is typed into whatever has the keyboard when
# the window appears, as a student would.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/session.sh"
use_build "${1:-}"
wm=
[[ ${2:-} == --wm ]] && wm=openbox
session_begin e2e-keyboard
need_built "$prog" "$kxt"
need_tools Xvfb xdotool import ${wm:+"$wm"}

# --- the exam: three questions, two data fields -----------------------------------------------
mkdir -p "$work/out"
cat >"$work/teclado.json" <<EOF
{
    "IdExamen": "TECLADO-01", "Titulo": "Examen con el teclado",
    "DatoAlumno1": "Nombre", "DatoAlumno2": "Curso", "TipoExamen": 1, "MinutosLimite": 30,
    "SoloUnaRespuesta": false, "MostrarNota": true, "MostrarFallos": true,
    "GuardarArchivoResultados": true, "AlumnoDefineArchivoResultados": false,
    "RutaArchivoResultados": "$work/out/resultado", "NotaMaxima": 10,
    "Preguntas": [
        {"Id": "t-1", "TextoPregunta": "¿Qué números son pares?",
         "respuestas": [{"Texto": "2", "Correcta": true}, {"Texto": "3"},
                        {"Texto": "4", "Correcta": true}]},
        {"Id": "t-2", "TextoPregunta": "¿De qué color es el cielo despejado?",
         "respuestas": [{"Texto": "Verde"}, {"Texto": "Azul", "Correcta": true},
                        {"Texto": "Rojo"}]},
        {"Id": "t-3", "TextoPregunta": "¿Cuál es la capital de Portugal?",
         "respuestas": [{"Texto": "Oporto"}, {"Texto": "Lisboa", "Correcta": true}]}
    ]
}
EOF
"$kxt" build "$work/teclado.json" -o "$work/teclado.kxt" || fail "kxt could not build the exam"

# --- the display ----------------------------------------------------------------------------
start_xvfb 800x600
if [[ -n $wm ]]; then
    HOME=$work "$wm" >"$work/wm.log" 2>&1 &
    wm_pid=$!
    # Openbox names its theme on the root window once it has started.
    wait_for "the window manager" 10 bash -c "xprop -root _OB_THEME | grep -q ="
fi

(cd "$work" && exec "$prog" "$work/teclado.kxt") >"$work/program.log" 2>&1 &
prog_pid=$!

wait_for "the exam window" 20 find_window '^Kipsa Prubex v1\.0$'
win=$(find_window '^Kipsa Prubex v1\.0$')
sleep 0.5
# What a window manager does when a window appears: give it the keyboard.
give_keyboard() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }
[[ -n $wm ]] || give_keyboard "$win"

type_text() {
    xdotool type --delay 50 "$1"
    sleep 0.2
}
caption() { xdotool getwindowname "$win"; }

answer_dialog() {
    local title=$1 keys=$2 id
    wait_for "the \"$title\" window" 10 find_window "^$title\$"
    id=$(find_window "^$title\$")
    give_keyboard "$id"
    key "$keys"
    wait_for "the \"$title\" window to close" 10 gone "^$title\$" "$id"
}

# --- data and start: the name field has the keyboard, Tab goes to the next field, Enter starts -
type_text "Ana"
key Tab
type_text "2B"
key Return
wait_for "the start" 10 find_window '^Kipsa Prubex v1\.0 \(Alumno: Ana'

# --- marking: the first answer's box has the keyboard -------------------------------------------
key space                   # question 1: answer 1
key Down
key Down
key space                   # question 1: answer 3
key alt+Right               # question 2; the keyboard stays on row 3
key Up
key space                   # question 2: answer 2
key alt+s                   # question 3; row 2 again
key space                   # question 3: answer 2
key Up
key space                   # question 3: answer 1 ...
key space                   # ... and not after all
key alt+Left                # back to question 2 and on again: marks stay
key alt+Right

# --- finishing through the menu's mnemonics ---------------------------------------------------
key alt+a
key f
answer_dialog "Fin de examen" Return   # "¿Desea realmente finalizar...?" -> Sí (the default)
answer_dialog "Fin de examen" Return   # "El examen ha finalizado." -> OK
answer_dialog "Calificación" Return    # the grade window -> Salir

result=$work/out/resultado_Ana.kxa
wait_for "the results file" 5 test -s "$result"

expected=$(
    printf '0000000300'
    field "TECLADO-01"
    printf '0000000001'
    field "Nombre"
    field "Ana"
    field "Curso"
    field "2B"
    for _ in 3 4 5; do printf '00000000000000000000'; done
    printf '0000000003'
    printf '00000000010000000001'
    field "1;3;"
    printf '00000000010000000002'
    field "2;"
    printf '00000000010000000003'
    field "2;"
)
check_results "$expected" "$result"

# --- leaving: Archivo > Salir, then Sí ----------------------------------------------------------
give_keyboard "$win"
key alt+a
key s
exit_expected=1
answer_dialog "Atención!" Return
program_ended

echo "e2e-keyboard: OK (an exam sat with the keyboard alone${wm:+ under $wm}; results file of" \
    "$(wc -c <"$result" 2>/dev/null || echo '?') bytes checked)"
