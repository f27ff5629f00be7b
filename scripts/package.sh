#!/usr/bin/env bash
# Builds the Debian package of the program (Release, without tests) in
# build-package, checks it with lintian (errors and warnings fail) and prints
# the path of the .deb on the last line of standard output; everything else
# goes to standard error.
#   scripts/package.sh
#   sudo apt-get install ./build-package/recibo_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
exec 3>&1 1>&2

scripts/install-deps.sh package

build=build-package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRECIBO_BUILD_TESTS=OFF \
  -DRECIBO_BUILD_BENCH=OFF -DRECIBO_BUILD_FUZZ=OFF >/dev/null
cmake --build "$build" --target recibo -j "$(nproc)"
rm -f "$build"/recibo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)

debs=("$root/$build"/recibo_*.deb)
if [ ! -f "${debs[0]}" ]; then
  echo "No se generó el paquete" >&2
  exit 1
fi
# Informational tags are shown too, but only errors and warnings fail.
lintian --fail-on error,warning --info "${debs[0]}" || {
  echo "lintian rechaza el paquete" >&2
  exit 1
}
echo "${debs[0]}" >&3
