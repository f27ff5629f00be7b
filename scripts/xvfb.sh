# Sourced by the scripts that need an X display of their own:
#   start_display WIDTHxHEIGHT WORKDIR
# starts Xvfb on the first free display number, waits until it takes clients
# (20 s at most, for a loaded machine), exports DISPLAY and sets xvfb_pid.
# Returns 1, with Xvfb's last words on stderr, where no display can be had.
# Xvfb writes the number on descriptor 3 in two writes, the digits and then a
# newline: so the number is read only once its line is whole, and the display
# is tried with a client. By default an X server resets when its last client
# leaves, and refuses clients while it does: -noreset keeps it taking them
# whoever comes and goes (a probe, the accessibility bus's launcher).
start_display() {
  local size=$1 work=$2
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ "$(wc -l <"$work/display")" -ge 1 ] && export DISPLAY=:$(head -n 1 "$work/display") &&
      xdotool getdisplaygeometry >/dev/null 2>&1 && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
  echo "the virtual display did not start: $(tail -n 3 "$work/xvfb.log")" >&2
  return 1
}
