#!/usr/bin/env bash
# The installed file types and desktop entry as a desktop sees them, on the staged installation
# alone: check_file_types.sh STAGE_DIR
#   - update-mime-database and update-desktop-database accept what was installed;
#   - a sample exam and a sample results file get our types (by name: both formats start alike);
#   - the exam type's default application is our desktop entry.
# shellcheck source=tests/packaging/common.sh
source "$(dirname "$0")/common.sh"
need update-mime-database shared-mime-info gio libglib2.0-bin \
    update-desktop-database desktop-file-utils xdg-mime xdg-utils
stage=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Only the staged installation is seen: no user folders, no system folders, no desktop session.
run() {
    env -i PATH="$PATH" HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
        XDG_CONFIG_DIRS="$work/config" XDG_DATA_DIRS="$stage/share" "$@"
}

run update-mime-database "$stage/share/mime" || fail "update-mime-database"
run update-desktop-database "$stage/share/applications" || fail "update-desktop-database"

exam="$work/mi examen.kxt"
cp "$stage/share/kipsa-prubex/muestra.kxt" "$exam"
cp "$exam" "$work/EXAMEN.KXT"
cp "$exam" "$work/examen.bin"
field() { printf '%010d%s' "${#1}" "$1"; }
{
    printf '0000000300'
    field "MUESTRA-2026"
    printf '0000000001'
    field "Nombre"
    field "Ana"
    for _ in 2 3 4 5; do printf '00000000000000000000'; done
    printf '0000000000'
} >"$work/resultado_Ana.kxa"
cp "$work/resultado_Ana.kxa" "$work/RESULTADO.KXA"

status=0
# expect_type FILE TYPE [not]: the type gio gives FILE is TYPE (or, with "not", is not).
expect_type() {
    local file=$1 want=$2 negate=${3:-} got
    got=$(run gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
    if [[ -z $negate && $got == "$want" ]] || [[ -n $negate && -n $got && $got != "$want" ]]; then
        echo "ok: ${file#"$work"/} is $got"
    else
        echo "FAIL: ${file#"$work"/} is \"$got\", expected ${negate:+not }$want" >&2
        status=1
    fi
}
expect_type "$exam" application/x-kipsa-prubex-exam
expect_type "$work/resultado_Ana.kxa" application/x-kipsa-prubex-results
expect_type "$work/RESULTADO.KXA" application/x-kipsa-prubex-results
# The program opens only ".kxt" in small letters, so nothing else is offered to it.
expect_type "$work/EXAMEN.KXT" application/x-kipsa-prubex-exam not
expect_type "$work/examen.bin" application/x-kipsa-prubex-exam not

default=$(run xdg-mime query default application/x-kipsa-prubex-exam)
if [[ $default == "$app_id.desktop" ]]; then
    echo "ok: the exam type opens with $default"
else
    echo "FAIL: the exam type opens with \"$default\", expected $app_id.desktop" >&2
    status=1
fi
exit $status
