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

# A display of our own, on the first free number.
work=$(mktemp -d)
xvfb_pid=
trap 'kill $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
. "$here/../../scripts/xvfb.sh"
start_display 1680x1050 "$work" 2>"$work/why" || skip "$(cat "$work/why")"

# The program on the real X platform, whatever the other tests use; its
# accessibility bridge on even though no screen reader asked for it.
unset QT_QPA_PLATFORM
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$work
status=0
LANG=es_AR.UTF-8 LC_ALL=es_AR.UTF-8 dbus-run-session -- "$python" "$here/atspi_check.py" "$program" "$launcher" || status=$?
if [ $status -ne 0 ]; then
  # Whether the display was still there, for telling a fault of the program from one of the machine.
  kill -0 $xvfb_pid 2>/dev/null && echo "the virtual display $DISPLAY was still running" ||
    echo "the virtual display $DISPLAY had stopped: $(tail -n 5 "$work/xvfb.log")"
fi
exit $status
