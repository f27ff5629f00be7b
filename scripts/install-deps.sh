#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, only those that are missing.
#   scripts/install-deps.sh run      build and start the program
#   scripts/install-deps.sh test     build and run the whole test suite
#   scripts/install-deps.sh coverage the same, and gcovr for the coverage report
#   scripts/install-deps.sh bench    build and run the benchmarks
#   scripts/install-deps.sh shots    take the README's screenshots
#   scripts/install-deps.sh package  build the Debian package and check it with lintian
#   scripts/install-deps.sh web      build the web page and serve it (scripts/web.sh)
set -euo pipefail

build=(cmake ninja-build g++ nlohmann-json3-dev qt6-base-dev libcups2-dev libpng-dev qt6-translations-l10n fonts-liberation2)
web=(cmake ninja-build nlohmann-json3-dev emscripten node-acorn librsvg2-bin pngquant lighttpd lighttpd-mod-deflate)
case "${1:-run}" in
  run) wanted=("${build[@]}") ;;
  test|coverage) wanted=("${build[@]}" cups cups-client poppler-utils fonts-dejavu-core clang-14 libclang-rt-14-dev
        dpkg-dev desktop-file-utils lintian appstream man-db xvfb xauth xdotool imagemagick dbus at-spi2-core
        python3-pyatspi)
        wanted+=("${web[@]}" chromium nodejs)
        command -v npm >/dev/null || wanted+=(npm) ;; # NodeSource's nodejs brings its own npm
  bench) wanted=("${build[@]}" libbenchmark-dev "${web[@]}" chromium nodejs)
         command -v npm >/dev/null || wanted+=(npm) ;;
  shots) wanted=("${build[@]}" xvfb xdotool imagemagick) ;;
  package) wanted=("${build[@]}" dpkg-dev lintian) ;;
  web) wanted=("${web[@]}") ;;
  *) echo "usage: $0 run|test|coverage|bench|shots|package|web" >&2; exit 2 ;;
esac
[ "${1:-run}" != coverage ] || wanted+=(gcovr)

case "${1:-run}" in
  test|coverage)
    # The print tests read a job that went through CUPS's PostScript path
    # (cups-filters makes it, Ghostscript reads it back); where the windows
    # open is tested under a real window manager.
    wanted+=(cups-filters ghostscript openbox x11-utils) ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Instalando: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
