#!/usr/bin/env bash
# Builds the Debian package, installs it as a user would, checks what it put
# in place, starts the installed program and removes the package again.
#   test_package.sh SOURCE_DIR [BUILD_DIR]
# With BUILD_DIR the package is made from that (already built) tree with
# cpack; without it scripts/package.sh builds a Release tree of its own.
# Exits with 77 (skipped) where it cannot install packages: not root, or no apt-get.
set -uo pipefail

source_dir=${1:?usage: test_package.sh SOURCE_DIR [BUILD_DIR]}
build_dir=${2:-}
skip=77

if [ "$(id -u)" -ne 0 ]; then
  echo "OMITIDO: instalar el paquete requiere ser root"
  exit $skip
fi
if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
  echo "OMITIDO: no hay apt-get ni dpkg en esta máquina"
  exit $skip
fi

failures=0
fail() {
  echo "FALLA: $*"
  failures=$((failures + 1))
}
step() { echo "== $*"; }

installed() { dpkg-query -W -f='${Status}' recibo 2>/dev/null | grep -q "install ok installed"; }

work=$(mktemp -d)
program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  if installed; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q recibo >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT

step "Construcción del paquete"
if [ -n "$build_dir" ]; then
  (cd "$build_dir" && cpack -G DEB -B "$work/package" >/dev/null) || { echo "FALLA: cpack no pudo armar el paquete"; exit 1; }
  deb=$(ls "$work"/package/recibo_*.deb 2>/dev/null | head -n 1)
else
  deb=$("$source_dir/scripts/package.sh" | tail -n 1)
fi
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "FALLA: scripts/package.sh no dejó ningún paquete"
  exit 1
fi
echo "$deb"
dpkg-deb --field "$deb" Package Version Depends

step "Instalación"
if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb"; then
  echo "FALLA: apt-get install no pudo instalar el paquete"
  exit 1
fi
installed || fail "dpkg no da el paquete por instalado"

step "Archivos instalados"
[ -x /usr/bin/recibo ] || fail "falta /usr/bin/recibo"
desktop=/usr/share/applications/recibo.desktop
if [ -f "$desktop" ]; then
  grep -qx "Name=Recibo de haberes" "$desktop" || fail "el nombre del acceso directo no es 'Recibo de haberes'"
  grep -qx "Exec=recibo" "$desktop" || fail "el acceso directo no ejecuta 'recibo'"
  grep -qx "Icon=recibo" "$desktop" || fail "el acceso directo no usa el icono 'recibo'"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rechaza $desktop"
  else
    echo "(desktop-file-validate no está instalado: se omite la validación del acceso directo)"
  fi
else
  fail "falta $desktop"
fi
for size in 16 32 48 64 128 256; do
  icon=/usr/share/icons/hicolor/${size}x${size}/apps/recibo.png
  [ -f "$icon" ] || { fail "falta $icon"; continue; }
  # Width and height of a PNG: bytes 17 to 24 of its header.
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "$icon mide $dims"
done
[ -f /usr/share/icons/hicolor/scalable/apps/recibo.svg ] || fail "falta el icono escalable"
dpkg -L recibo | grep -qx /usr/bin/recibo || fail "dpkg -L recibo no lista /usr/bin/recibo"

step "Arranque sin pantalla (offscreen)"
(cd "$work" && exec env QT_QPA_PLATFORM=offscreen /usr/bin/recibo) >"$work/offscreen.log" 2>&1 &
program_pid=$!
sleep 2
if kill -0 "$program_pid" 2>/dev/null; then
  echo "el programa sigue en marcha tras 2 s"
  kill "$program_pid"
  wait "$program_pid" 2>/dev/null
else
  wait "$program_pid"
  fail "el programa instalado terminó solo (código $?)"
fi
program_pid=
if [ -s "$work/offscreen.log" ]; then
  echo "-- salida del programa:"
  cat "$work/offscreen.log"
fi

step "Ventana real en un servidor X virtual"
if command -v xvfb-run >/dev/null && command -v xauth >/dev/null && command -v xdotool >/dev/null; then
  # The window manager is absent, so the window is mapped as Qt shows it.
  cat >"$work/window.sh" <<'SCRIPT'
#!/usr/bin/env bash
unset QT_QPA_PLATFORM
/usr/bin/recibo >"$1/xvfb.log" 2>&1 &
pid=$!
found=$(timeout 20 xdotool search --sync --onlyvisible --name "Ingreso de datos" | head -n 1)
if [ -n "$found" ]; then
  echo "ventana ${found}: $(xdotool getwindowname "$found"), $(xdotool getwindowgeometry "$found" | sed -n 's/ *Geometry: //p')"
fi
kill -0 "$pid" 2>/dev/null
alive=$?
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
[ -n "$found" ] && [ "$alive" -eq 0 ]
SCRIPT
  chmod +x "$work/window.sh"
  if ! xvfb-run -a -s "-screen 0 1280x1024x24" "$work/window.sh" "$work"; then
    fail "no apareció la ventana 'Ingreso de datos' del programa instalado"
    cat "$work/xvfb.log" 2>/dev/null
  fi
else
  echo "(xvfb-run, xauth o xdotool no están instalados: se omite la prueba con ventana real)"
fi

step "Desinstalación"
if ! DEBIAN_FRONTEND=noninteractive apt-get remove -y -q recibo; then
  fail "apt-get remove no pudo quitar el paquete"
fi
installed && fail "el paquete sigue instalado"
[ -e /usr/bin/recibo ] && fail "/usr/bin/recibo sigue en su lugar"
[ -e "$desktop" ] && fail "$desktop sigue en su lugar"

if [ "$failures" -ne 0 ]; then
  echo "$failures fallas"
  exit 1
fi
echo "paquete construido, instalado, arrancado y quitado"
