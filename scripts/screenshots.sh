#!/usr/bin/env bash
# Takes a screenshot of each window of the program in a virtual X display, as
# a user reaches it: the entry window, the cargo dialog with code 609, the
# slip of that cargo and the selection error window. Writes docs/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh shots
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRECIBO_BUILD_TESTS=OFF >/dev/null
cmake --build build --target recibo >/dev/null
mkdir -p docs

work=$(mktemp -d)
app=
xvfb=
cleanup() {
  for pid in $app $xvfb; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
# A display of its own, on the first free number, so no other X server is in the way.
. scripts/xvfb.sh
start_display 1680x1050 "$work" || exit 1
xvfb=$xvfb_pid
export XDG_RUNTIME_DIR=$work

LANG=es_AR.UTF-8 build/recibo &
app=$!

window() { # waits for a window by its title and prints its id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "no window '$1'; visible: $(xdotool search --onlyvisible --name . 2>/dev/null | while read -r w; do xdotool getwindowname "$w"; done | tr "\n" ",")" >&2; exit 1
}
clickat() { # window id, x and y in twips of its client area
  xdotool mousemove --window "$1" $(( $2 / 15 )) $(( $3 / 15 )) click 1
  sleep 0.4
}
shoot() { sleep 0.6; import -window "$1" "docs/$2.png"; echo "docs/$2.png"; }

ingreso=$(window "Ingreso de datos")
xdotool windowfocus --sync "$ingreso" 2>/dev/null || true
xdotool type --delay 20 "Pérez, María Inés"
shoot "$ingreso" ingreso

clickat "$ingreso" $((135 + 120 + 700)) $((675 + 240 + 180))   # Cargo
dialog=$(window "Selecci.*n de cargo")
clickat "$dialog" 800 1480                                      # the code box
xdotool type --delay 50 "609"
shoot "$dialog" advertencia
xdotool key Return
sleep 0.4
clickat "$ingreso" $((6000 + 120 + 900)) $((3960 + 960 + 120))   # Entre 5 y 7 años
clickat "$ingreso" $((3360 + 120 + 900)) $((4560 + 240 + 180))   # IOSPER
clickat "$ingreso" $((3360 + 120 + 900)) $((4560 + 1320 + 180))  # Aporte jubilatorio
clickat "$ingreso" 10200 6780                                    # Calcular
haberes=$(window "Haberes")
shoot "$haberes" haberes

clickat "$haberes" 10500 5160                                    # Volver
clickat "$ingreso" 10200 6780                                    # Calcular with no choice
error=$(window "Error de selecci.*n")
shoot "$error" error
