#!/usr/bin/env bash
# The exam window as a screen reader sees it: runs the real program under Xvfb with a private
# session bus and the accessibility bus (at-spi2-core), turns accessibility on as a screen reader
# does, and walks every object of the window with scripts/atspi-walk.py (name, description,
# role, states, interfaces, Properties.GetAll on each interface), on the briefing and on the
# question page, checking that the program stays alive. It also sends the one request that
# used to end the program (GetAll on the application) and marks an answer through the
# accessibility action of its box.
#
#   scripts/a11y.sh [BUILD_DIR]      (default: build; needs kipsa-prubex and kxt built there)
#
# Needs Xvfb, xdotool, dbus-run-session, gdbus, at-spi2-core and python3-dbus (scripts/deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/session.sh"
use_build "${1:-}"

# Everything runs inside a session bus of its own, which ends with the script.
if [[ -z ${KP_A11Y_SESSION:-} ]]; then
    command -v dbus-run-session >/dev/null ||
        { echo "a11y: dbus-run-session is not installed (scripts/deps.sh)" >&2; exit 1; }
    KP_A11Y_SESSION=1 exec dbus-run-session -- "$0" "$build" 2> >(grep -v '^dbus-daemon\[' >&2)
fi

walker=$root/scripts/atspi-walk.py
session_begin a11y
session_screenshot= # no screenshot on failure
need_built "$prog" "$kxt"
need_tools Xvfb xdotool gdbus /usr/bin/python3 /usr/libexec/at-spi-bus-launcher

# --- the exam: a name field, a time limit and two questions -----------------------------------
mkdir -p "$work/out"
cat >"$work/a11y.json" <<EOF
{
    "IdExamen": "A11Y-01", "Titulo": "Prueba de accesibilidad", "DatoAlumno1": "Nombre",
    "TipoExamen": 1, "MinutosLimite": 30, "MostrarNota": true, "MostrarFallos": true,
    "GuardarArchivoResultados": true, "AlumnoDefineArchivoResultados": false,
    "RutaArchivoResultados": "$work/out/resultado", "NotaMaxima": 10,
    "Preguntas": [
        {"Id": "a-1", "TextoPregunta": "¿Cuánto es 2 + 2?",
         "respuestas": [{"Texto": "4", "Correcta": true}, {"Texto": "5"}, {"Texto": "6"}]},
        {"Id": "a-2", "TextoPregunta": "¿De qué color es el cielo despejado?",
         "respuestas": [{"Texto": "Verde"}, {"Texto": "Azul", "Correcta": true}]}
    ]
}
EOF
"$kxt" build "$work/a11y.json" -o "$work/a11y.kxt" || fail "kxt could not build the exam"

# --- display and accessibility bus ------------------------------------------------------------
start_xvfb 1024x768

# Asking the session bus for the accessibility bus starts it; a screen reader then sets
# IsEnabled, which is what makes Qt join that bus.
a11y_bus=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.a11y.Bus.GetAddress | sed -E "s/^\('(.*)',\)$/\1/")
[[ -n $a11y_bus ]] || fail "no accessibility bus"
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null

(cd "$work" && exec "$prog" "$work/a11y.kxt") >"$work/program.log" 2>&1 &
prog_pid=$!
wait_for "the exam window" 30 find_window '^Kipsa Prubex v1\.0$'

walk() {
    local what=$1
    shift
    /usr/bin/python3 "$walker" "$a11y_bus" "$prog_pid" --dump "$work/walk-$what.txt" "$@" ||
        { [[ -s $work/walk-$what.txt ]] && sed 's/^/    /' "$work/walk-$what.txt" >&2
          fail "the walk of the $what"; }
}
on_bus() { /usr/bin/python3 "$walker" "$a11y_bus" "$prog_pid" --expect 'Empezar:push button'; }
wait_for "the program on the accessibility bus" 30 on_bus

# --- the request that used to end the program -------------------------------------------------
app=$(/usr/bin/python3 - "$a11y_bus" "$prog_pid" <<'EOF'
import sys, dbus
bus = dbus.bus.BusConnection(sys.argv[1])
reg = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
daemon = bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus")
for name, _ in reg.GetChildren(dbus_interface="org.a11y.atspi.Accessible"):
    if daemon.GetConnectionUnixProcessID(name, dbus_interface="org.freedesktop.DBus") == int(sys.argv[2]):
        print(name)
EOF
)
[[ -n $app ]] || fail "the program's name on the accessibility bus"
for interface in org.a11y.atspi.Accessible org.a11y.atspi.Application; do
    gdbus call --address "$a11y_bus" --dest "$app" --object-path /org/a11y/atspi/accessible/root \
        --method org.freedesktop.DBus.Properties.GetAll "$interface" >"$work/getall.txt" 2>&1 ||
        fail "GetAll $interface: $(cat "$work/getall.txt")"
done
grep -q "'Name'" "$work/getall.txt" || grep -q "'ToolkitName'" "$work/getall.txt" ||
    fail "GetAll gave no properties: $(cat "$work/getall.txt")"
kill -0 "$prog_pid" 2>/dev/null || fail "the program ended after GetAll"

# --- the briefing -----------------------------------------------------------------------------
walk briefing \
    --expect 'Nombre::text' --expect 'Empezar:push button' \
    --expect 'Buscar el archivo de resultados:push button' \
    --expect 'Borrar el archivo de resultados:push button' \
    --expect 'Tiempo restante: 0:00:00:label'

# --- the question page: start from the keyboard, then mark through the accessibility action ---
xdotool windowactivate --sync "$(find_window '^Kipsa Prubex v1\.0$')" 2>/dev/null ||
    xdotool windowfocus --sync "$(find_window '^Kipsa Prubex v1\.0$')"
xdotool type --delay 50 "Ana"
xdotool key --clearmodifiers Return
wait_for "the start" 10 find_window '^Kipsa Prubex v1\.0 \(Alumno: Ana'
walk page \
    --expect 'Respuesta 1: 4:check box' --expect 'Respuesta 3: 6:check box' \
    --expect 'Texto de la pregunta:text' --expect 'correcta:graphic' \
    --expect 'incorrecta:graphic' --expect 'Siguiente pregunta >>:push button' \
    --press 'Respuesta 2: 5'
walk marked --expect-checked 'Respuesta 2: 5'

echo "a11y: OK ($(wc -l <"$work/walk-page.txt") objects on the question page walked," \
    "GetAll answered, a mark made through the accessibility bus)"
