#!/usr/bin/env bash
# The program as a screen reader meets it: recibo started in a virtual X
# display with a session bus and the accessibility bus, its windows read and
# driven through AT-SPI (tests/app/atspi_check.py). Skipped, with the reason,
# where no display or accessibility bus can be had.
#   test_atspi.sh PATH/TO/recibo
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1

skip() {
  echo "SKIP: $*"
  exit 77
}

python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3 || true)
for tool in Xvfb dbus-run-session xdotool import; do
  command -v "$tool" >/dev/null || skip "no $tool (scripts/install-deps.sh test installs it)"
done
launcher=""
for dir in /usr/libexec /usr/lib/at-spi2-core /usr/lib/x86_64-linux-gnu/at-spi2-core; do
  [ -x "$dir/at-spi-bus-launcher" ] && launcher=$dir/at-spi-bus-launcher && break
done
[ -n "$launcher" ] || skip "no at-spi-bus-launcher (package at-spi2-core)"
[ -n "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null || skip "no pyatspi (package python3-pyatspi)"
[ -x "$program" ] || { echo "no program at $program"; exit 1; }

# A display of our own: Xvfb picks a free number and writes it to us.
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1680x1050x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 $xvfb 2>/dev/null || break
  sleep 0.1
done
[ -s "$work/display" ] || skip "the virtual display did not start: $(tail -n 3 "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")

# The program on the real X platform, whatever the other tests use; its
# accessibility bridge on even though no screen reader asked for it.
unset QT_QPA_PLATFORM
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$work
LANG=es_AR.UTF-8 LC_ALL=es_AR.UTF-8 dbus-run-session -- "$python" "$here/atspi_check.py" "$program" "$launcher"
