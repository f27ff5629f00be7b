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

# The checks need these; scripts/install-deps.sh test installs them.
for tool in lintian appstreamcli desktop-file-validate man dpkg-parsechangelog; do
  if ! command -v "$tool" >/dev/null; then
    echo "FALLA: falta $tool (lo instala scripts/install-deps.sh test)"
    exit 1
  fi
done

failures=0
fail() {
  echo "FALLA: $*"
  failures=$((failures + 1))
}
step() { echo "== $*"; }

# apt-get waits for a package manager run elsewhere on the machine to end.
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"; }
installed() { dpkg-query -W -f='${Status}' recibo 2>/dev/null | grep -q "install ok installed"; }

# The package goes into the system, where one run at a time may install,
# check and remove it. The lock goes with this process however it ends; the
# programs started below do not inherit it.
exec 9>/run/lock/recibo-test-package.lock
if ! flock -w 600 9; then
  echo "FALLA: otra prueba del paquete sigue en marcha desde hace 10 minutos"
  exit 1
fi

# Whatever an earlier run killed on its way left behind: its folder, and the
# package if that run had installed it. With the lock held, every such folder
# is stale; only root's own folders that carry the mark are taken for ours.
tmp=${TMPDIR:-/tmp}
mark=.recibo-test-package
for stale in "$tmp"/recibo-test-package.*; do
  [ -d "$stale" ] && [ ! -L "$stale" ] && [ -O "$stale" ] && [ -f "$stale/$mark" ] || continue
  if [ -f "$stale/installed" ] && installed; then
    echo "Una prueba anterior interrumpida dejó el paquete instalado: se quita"
    apt_get remove -y -q recibo >/dev/null
  fi
  rm -rf "$stale"
done
work=$(mktemp -d "$tmp/recibo-test-package.XXXXXX")
: >"$work/$mark"
# The program's own runtime folder, not a shared one in /tmp.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"

program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  if [ -f "$work/installed" ] && installed; then
    apt_get remove -y -q recibo >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT HUP

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
version=$(dpkg-deb --field "$deb" Version)

step "lintian"
# Errors and warnings fail the test; the informational and pedantic tags are
# shown for the record. Tags overridden in the package
# (usr/share/lintian/overrides/recibo) do not count.
report=$(lintian --info --pedantic "$deb" 2>&1)
status=$?
printf '%s\n' "$report" | grep -v '^running with root privileges'
if [ "$status" -ne 0 ] || printf '%s\n' "$report" | grep -q '^[EW]: '; then
  fail "lintian encuentra errores o advertencias en el paquete (código $status)"
fi

step "Instalación"
: >"$work/installed"
if ! apt_get install -y -q --no-install-recommends "$deb"; then
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
  desktop-file-validate "$desktop" || fail "desktop-file-validate rechaza $desktop"
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

step "Documentación y metadatos"
copyright=/usr/share/doc/recibo/copyright
if [ -f "$copyright" ]; then
  head -n 1 "$copyright" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "$copyright no está en el formato legible por máquina"
  grep -qx "License: GPL-3+" "$copyright" || fail "$copyright no declara la licencia GPL-3+"
  grep -q '"/usr/share/common-licenses/GPL-3"' "$copyright" || fail "$copyright no remite al texto de la GPL-3"
else
  fail "falta $copyright"
fi
changelog=/usr/share/doc/recibo/changelog.gz
if gzip -dc "$changelog" >"$work/changelog" 2>/dev/null; then
  logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
  [ "$logged" = "$version" ] || fail "el changelog llega a la versión '$logged' y el paquete es la $version"
else
  fail "falta $changelog o no es un gzip válido"
fi

english=/usr/share/man/man1/recibo.1.gz
spanish=/usr/share/man/es/man1/recibo.1.gz
for page in "$english" "$spanish"; do
  [ -f "$page" ] || { fail "falta $page"; continue; }
  # What lintian runs too: groff's complaints while formatting the page.
  complaints=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$complaints" ] || fail "man se queja al formatear $page: $complaints"
done
if [ -f "$spanish" ]; then
  shown=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$spanish" 2>&1)
  for words in NOMBRE "recibo - calculadora del recibo de haberes" DESCRIPCIÓN IMPRESIÓN; do
    grep -qF -- "$words" <<<"$shown" || fail "man -l $spanish no muestra '$words'"
  done
fi
[ "$(man -L es -w recibo 2>&1)" = "$spanish" ] || fail "man -L es recibo no lleva a $spanish"
[ "$(man -L C -w recibo 2>&1)" = "$english" ] || fail "man -L C recibo no lleva a $english"

metainfo=$(dpkg -L recibo | grep '^/usr/share/metainfo/.*\.metainfo\.xml$')
if [ "$(printf '%s' "$metainfo" | grep -c .)" -eq 1 ]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate rechaza $metainfo"
  for element in '<name>Recibo de haberes</name>' \
                 '<launchable type="desktop-id">recibo.desktop</launchable>' \
                 '<project_license>GPL-3.0-or-later</project_license>'; do
    grep -qF -- "$element" "$metainfo" || fail "$metainfo no tiene $element"
  done
else
  fail "el paquete no trae un solo archivo usr/share/metainfo/*.metainfo.xml: '$metainfo'"
fi

step "Arranque sin pantalla (offscreen)"
# Bounded in time, so that it ends by itself should this script be killed.
(cd "$work" && exec timeout 60 env QT_QPA_PLATFORM=offscreen /usr/bin/recibo) 9>&- >"$work/offscreen.log" 2>&1 &
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
timeout 60 /usr/bin/recibo >"$1/xvfb.log" 2>&1 &
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
  if ! xvfb-run -a -s "-screen 0 1280x1024x24" "$work/window.sh" "$work" 9>&-; then
    fail "no apareció la ventana 'Ingreso de datos' del programa instalado"
    cat "$work/xvfb.log" 2>/dev/null
  fi
else
  echo "(xvfb-run, xauth o xdotool no están instalados: se omite la prueba con ventana real)"
fi

step "Desinstalación"
if apt_get remove -y -q recibo; then
  rm -f "$work/installed"
else
  fail "apt-get remove no pudo quitar el paquete"
fi
installed && fail "el paquete sigue instalado"
[ -e /usr/bin/recibo ] && fail "/usr/bin/recibo sigue en su lugar"
for file in "$desktop" "$copyright" "$english" "$spanish" "$metainfo"; do
  [ -e "$file" ] && fail "$file sigue en su lugar"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures fallas"
  exit 1
fi
echo "paquete construido, instalado, arrancado y quitado"
