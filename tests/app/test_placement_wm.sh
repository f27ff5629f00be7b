#!/usr/bin/env bash
# Where the windows open under a real window manager (openbox in a virtual X
# display), at 1600x1200 and at 1024x768: the entry window where openbox puts
# it; the selection error window and the cargo dialog centred over it and on
# the screen; the slip on the screen, never over "Calcular" where the screen
# leaves room, and beside the entry window, on whichever side has room, when
# the entry window is moved to one edge. Skipped, with the reason, where Xvfb,
# openbox, xdotool, xprop or xwininfo are missing.
#   test_placement_wm.sh PATH/TO/recibo
set -euo pipefail
program=$1
. "$(dirname "$0")/../../scripts/xvfb.sh"

skip() {
  echo "SKIP: $*"
  exit 77
}
for tool in Xvfb openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || skip "no $tool (scripts/install-deps.sh test installs it)"
done
[ -x "$program" ] || { echo "no program at $program"; exit 1; }

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

work=$(mktemp -d)
pids=()
stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  pids=()
}
trap 'stop_all; rm -rf "$work"' EXIT

# The window of a title, once it is shown (20 s at most, for a loaded machine).
window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "no window '$1'" >&2
  return 1
}

# A window's frame on the screen, "left top right bottom X Y" (inclusive; X Y
# the client's corner), once the window manager has framed it (its frame
# extents are set and the window is viewable) and the answer holds still:
# the same three times in a row. After 5 s, the last answer.
frame() {
  local last="" now same=0 framed
  for _ in $(seq 50); do
    framed=yes
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' || framed=no
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || framed=no
    now=$(
      # xwininfo: xdotool reports a framed window's place shifted by its frame.
      info=$(xwininfo -id "$1" 2>/dev/null)
      X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
      Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
      WIDTH=$(sed -n 's/^ *Width: *//p' <<<"$info")
      HEIGHT=$(sed -n 's/^ *Height: *//p' <<<"$info")
      extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
      IFS=, read -r l r t b <<<"${extents:-0,0,0,0}"
      echo "$((${X:-0} - l)) $((${Y:-0} - t)) $((${X:-0} + ${WIDTH:-0} - 1 + r)) $((${Y:-0} + ${HEIGHT:-0} - 1 + b)) ${X:-0} ${Y:-0}"
    )
    if [ $framed = yes ] && [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge 2 ] && break
    else
      same=0
    fi
    last=$now
    sleep 0.1
  done
  echo "$now"
}

# The frame of a window once it stands where `check` (a function given the
# frame) says it should, or, after some 20 readings, wherever it stands: the window
# manager and the program may each move it once more after it is framed.
placed() { # window check [arguments of check...]
  local id=$1 check=$2 now
  shift 2
  for _ in $(seq 20); do
    now=$(frame "$id")
    "$check" "$now" "$@" && break
  done
  echo "$now"
}

# Clicks a point of a window's client area, given in twips as the forms give it.
# What the click brings is waited for where it is read (window, frame, placed).
click() {
  xdotool mousemove --sync --window "$1" $(($2 / 15)) $(($3 / 15)) click 1
}

# Whether two rectangles "l t r b" overlap.
overlap() {
  read -r al at ar ab _ <<<"$1"
  read -r bl bt br bb _ <<<"$2"
  [ "$al" -le "$br" ] && [ "$bl" -le "$ar" ] && [ "$at" -le "$bb" ] && [ "$bt" -le "$ab" ]
}

on_screen() { # frame width height
  read -r l t r b _ <<<"$1"
  [ "$l" -ge 0 ] && [ "$t" -ge 0 ] && [ "$r" -lt "$2" ] && [ "$b" -lt "$3" ]
}

# Whether a dialog's frame is centred over the entry window's, unless the
# screen's edge held it back, and wholly on the screen.
centred() { # dialog-frame entry-frame width height
  read -r dl dt dr db _ <<<"$1"
  read -r el et er eb _ <<<"$2"
  local dx=$(((dl + dr) - (el + er))) dy=$(((dt + db) - (et + eb)))
  on_screen "$1" "$3" "$4" || return 1
  { [ "$dl" -le 0 ] || [ "$dr" -ge $(($3 - 1)) ] || [ "${dx#-}" -le 3 ]; } &&
    { [ "$dt" -le 0 ] || [ "$db" -ge $(($4 - 1)) ] || [ "${dy#-}" -le 3 ]; }
}

# Whether the slip's frame is beside the entry window's, on the right or on
# the left, its top level with it.
beside() { # slip-frame entry-frame side
  read -r sl st sr _ <<<"$1"
  read -r ml mt mr _ <<<"$2"
  if [ "$3" = left ]; then
    [ "$sl" -eq $((mr + 1 + 8)) ] && [ "$st" -eq "$mt" ]
  else
    [ "$sr" -eq $((ml - 1 - 8)) ] && [ "$st" -eq "$mt" ]
  fi
}

# Whether the screen has room for the slip beside the entry window.
room_beside() { # slip-frame entry-frame width
  read -r sl _ sr _ <<<"$1"
  read -r el _ er _ <<<"$2"
  [ $(($3 - (er - el + 1))) -ge $((sr - sl + 1 + 8)) ]
}

# Whether the slip, first shown, is wholly on the screen and leaves
# "Calcular" in view where there is room, and never covers all of it.
first_slip() { # slip-frame entry-frame calcular width height
  read -r sl st sr sb _ <<<"$1"
  read -r cl ct cr cb <<<"$3"
  on_screen "$1" "$4" "$5" || return 1
  if room_beside "$1" "$2" "$4"; then
    ! overlap "$1" "$3"
  else
    [ "$sl" -gt "$cl" ] || [ "$sr" -lt "$cr" ] || [ "$st" -gt "$ct" ] || [ "$sb" -lt "$cb" ]
  fi
}

# Whether a window was moved to x: its frame's left edge or, as openbox moves
# a window for xdotool, its client's corner.
at_left() { read -r l _ _ _ X _ <<<"$1"; [ "$l" -eq "$2" ] || [ "$X" -eq "$2" ]; }

centred_over() { # name dialog-frame entry-frame width height
  read -r dl dt dr db _ <<<"$2"
  read -r el et er eb _ <<<"$3"
  local dx=$(((dl + dr) - (el + er))) dy=$(((dt + db) - (et + eb)))
  on_screen "$2" "$4" "$5" || fail "$1 at $2 is not wholly on the ${4}x$5 screen"
  # Centred, unless the screen's edge held it back.
  if [ "$dl" -gt 0 ] && [ "$dr" -lt $(($4 - 1)) ] && [ "${dx#-}" -gt 3 ]; then
    fail "$1 at $2 is not centred across the entry window at $3"
  fi
  if [ "$dt" -gt 0 ] && [ "$db" -lt $(($5 - 1)) ] && [ "${dy#-}" -gt 3 ]; then
    fail "$1 at $2 is not centred down the entry window at $3"
  fi
}

run_screen() { # width height
  local W=$1 H=$2
  start_display "${W}x$H" "$work" 2>"$work/why" || { pids+=($xvfb_pid); skip "$(cat "$work/why")"; }
  pids+=($xvfb_pid)
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  # openbox places the windows that come once it has set itself up: its theme
  # loaded and the screen's work area worked out.
  local ready=no
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK _OB_THEME _NET_WORKAREA 2>/dev/null | grep -c '[=#]' | grep -qx 3 && ready=yes && break
    sleep 0.1
  done
  [ $ready = yes ] || skip "openbox did not start: $(tail -n 3 "$work/openbox.log")"
  (unset QT_QPA_PLATFORM; export XDG_RUNTIME_DIR=$work LANG=es_AR.UTF-8 LC_ALL=es_AR.UTF-8; exec "$program") 2>/dev/null &
  pids+=($!)

  local ingreso entry calcular
  ingreso=$(window '^Ingreso de datos$')
  entry=$(frame "$ingreso")
  read -r _ _ _ _ ex ey <<<"$entry"
  # "Calcular" (Command1: 9000, 6600, 2535 x 375 twips) on the screen.
  calcular="$((ex + 600)) $((ey + 440)) $((ex + 600 + 169 - 1)) $((ey + 440 + 25 - 1))"
  echo "${W}x$H: entry window at $entry"

  click "$ingreso" 10200 6780 # Calcular with nothing chosen
  local error
  error=$(window '^Error de selecci')
  centred_over "the selection error window" "$(placed "$error" centred "$entry" "$W" "$H")" "$entry" "$W" "$H"
  click "$error" 2580 990 # Aceptar

  click "$ingreso" 1035 1095 # Cargo
  local dialog
  dialog=$(window '^Selecci.+n de cargo$')
  centred_over "the cargo dialog" "$(placed "$dialog" centred "$entry" "$W" "$H")" "$entry" "$W" "$H"
  click "$dialog" 7640 5740 # Salir sin datos

  click "$ingreso" 3100 1095 # Hs. N. Medio
  click "$ingreso" 10200 6780 # Calcular
  local haberes slip
  haberes=$(window '^Haberes$')
  slip=$(placed "$haberes" first_slip "$entry" "$calcular" "$W" "$H")
  echo "${W}x$H: slip at $slip"
  on_screen "$slip" "$W" "$H" || fail "the slip at $slip is not wholly on the ${W}x$H screen"
  read -r sl st sr sb _ <<<"$slip"
  read -r el et er eb _ <<<"$entry"
  if room_beside "$slip" "$entry" "$W"; then
    # Room for the slip beside the entry window somewhere: then "Calcular" stays in view.
    overlap "$slip" "$calcular" && fail "the slip at $slip covers Calcular at $calcular"
    # The entry window moved to the left edge, then to the right: the slip
    # opens beside it, on the side with room, its top level with the entry's.
    local side x
    for side in left right; do
      click "$haberes" 10500 5160 # Volver
      [ $side = left ] && x=0 || x=$((W - (er - el + 1)))
      xdotool windowmove "$ingreso" "$x" "$et" # where it lands is waited for below
      local moved
      moved=$(placed "$ingreso" at_left "$x")
      click "$ingreso" 3100 1095 # Hs. N. Medio
      click "$ingreso" 10200 6780 # Calcular
      slip=$(placed "$(window '^Haberes$')" beside "$moved" "$side")
      beside "$slip" "$moved" "$side" ||
        fail "entry window at $moved: the slip at $slip is not beside it on the $([ $side = left ] && echo right || echo left)"
      overlap "$slip" "$moved" && fail "the slip at $slip covers the entry window at $moved"
    done
  else
    # No room for both side by side: "Calcular" is never wholly covered.
    read -r cl ct cr cb <<<"$calcular"
    [ "$sl" -gt "$cl" ] || [ "$sr" -lt "$cr" ] || [ "$st" -gt "$ct" ] || [ "$sb" -lt "$cb" ] ||
      fail "the slip at $slip covers the whole of Calcular at $calcular"
  fi
  stop_all
}

run_screen 1600 1200
run_screen 1024 768
[ "$failures" -eq 0 ] || exit 1
echo "PASS"
