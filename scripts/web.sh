#!/usr/bin/env bash
# The web page: the calculation core compiled to WebAssembly with Debian's
# emscripten, the page's own files from web/, the icons, the manifest and the
# service worker, gathered in build-web/site (a folder that can be copied to
# any static web host).
#   scripts/web.sh           builds the site and serves it at http://127.0.0.1:8080
#   scripts/web.sh build     builds the site only
#   scripts/web.sh serve     serves the site as it was built
#   scripts/web.sh stamp DIR writes the service worker's file list and version for the site in DIR
# RECIBO_WEB_PORT sets another port, RECIBO_WEB_SITE another folder to serve.
# The server is lighttpd, bound to 127.0.0.1, with the page's Content
# Security Policy as a header as well, and no directory listings.
set -euo pipefail
[ -z "${RECIBO_WEB_SITE:-}" ] || RECIBO_WEB_SITE=$(realpath -m "$RECIBO_WEB_SITE")
[ "${1:-}" != stamp ] || [ -z "${2:-}" ] || set -- stamp "$(realpath -m "$2")"
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-web
site=${RECIBO_WEB_SITE:-$out/site}
port=${RECIBO_WEB_PORT:-8080}

# The service worker's list of the site's files (itself excepted) and its
# version, a hash of all of them: a new build is a new version, whose files
# are cached together and replace the old ones together.
stamp() {
  local dir=$1 files version list
  files=$(cd "$dir" && find . -type f ! -name sw.js -printf '%P\n' | LC_ALL=C sort)
  version=$(cd "$dir" && printf '%s\n' "$files" | xargs sha256sum | sha256sum | cut -c1-16)
  list=$(printf '%s\n' "$files" | sed "s/.*/  '&',/")
  awk -v version="$version" -v list="$list" '
    /^const VERSION = / { print "const VERSION = \x27" version "\x27;"; next }
    /^const FILES = \[/ { print "const FILES = [\n  \x27./\x27,\n" list "\n];"; skip = 1; next }
    skip && /^\];/ { skip = 0; next }
    !skip { print }' "$root/web/sw.js" >"$dir/sw.js"
}

build() {
  scripts/install-deps.sh web
  export NODE_PATH=/usr/share/nodejs # emscripten's optimiser needs Debian's acorn
  local cache
  cache=$(em-config CACHE 2>/dev/null || echo /usr/share/emscripten/cache)
  [ -w "$cache" ] || export EM_CACHE=$out/em-cache
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache) || launcher=()
  # Optimised for size, across the libraries too: the module is most of what the page loads.
  emcmake cmake -S . -B "$out/core" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_CXX_FLAGS_MINSIZEREL="-Oz -flto -DNDEBUG" \
    -DCMAKE_EXE_LINKER_FLAGS=-flto -DRECIBO_CORE_ONLY=ON -DRECIBO_BUILD_TESTS=OFF -DRECIBO_WERROR=ON "${launcher[@]}" >/dev/null
  cmake --build "$out/core" --target recibo-core -j "$(nproc)"

  local next=$out/site.next
  rm -rf "$next"
  mkdir -p "$next/icons"
  cp -r web/. "$next/"
  rm -f "$next/sw.js"
  cp "$out/core/src/web/recibo-core.js" "$out/core/src/web/recibo-core.wasm" "$next/"
  icons "$next/icons"
  stamp "$next"
  if grep -l -E '\beval\(|new Function' "$next"/*.js; then
    echo "web.sh: the files above use eval or new Function, which the page's policy forbids" >&2
    exit 1
  fi
  rm -rf "$out/site"
  mv "$next" "$out/site"
  echo "Sitio: $out/site"
}

# The program's icon at the sizes the manifest names; the maskable one keeps
# the icon inside the safe circle on the page's window colour.
icons() {
  local dir=$1 svg=packaging/icons/recibo.svg
  rsvg-convert -w 192 -h 192 "$svg" -o "$dir/recibo-192.png"
  rsvg-convert -w 512 -h 512 "$svg" -o "$dir/recibo-512.png"
  {
    echo '<svg xmlns="http://www.w3.org/2000/svg" width="512" height="512" viewBox="0 0 512 512">'
    echo '<rect width="512" height="512" fill="#004040"/><g transform="translate(96 96) scale(1.25)">'
    sed -e '1,/<svg /d' -e '/<\/svg>/d' -e '/<title>/d' "$svg"
    echo '</g></svg>'
  } | rsvg-convert -w 512 -h 512 -o "$dir/recibo-maskable-512.png"
}

serve() {
  [ -f "$site/index.html" ] || { echo "web.sh: no site in $site; build it with scripts/web.sh build" >&2; exit 1; }
  command -v lighttpd >/dev/null || scripts/install-deps.sh web
  # mod_dirlisting is not loaded: a folder without index.html lists nothing.
  # The header carries the policy the page's meta element gives, and what
  # only a header can say (no framing by other sites).
  local policy conf
  policy=$(sed -n 's/.*http-equiv="Content-Security-Policy" content="\([^"]*\)".*/\1/p' "$site/index.html")
  [ -n "$policy" ] || { echo "web.sh: index.html has no Content-Security-Policy" >&2; exit 1; }
  local dir=$out/serve-$port
  conf=$dir/lighttpd.conf
  mkdir -p "$dir/deflate"
  cat >"$conf" <<CONF
server.document-root = "$site"
server.bind = "127.0.0.1"
server.port = $port
server.modules = ("mod_indexfile", "mod_setenv", "mod_deflate")
server.tag = ""
index-file.names = ("index.html")
mimetype.assign = (
  ".html" => "text/html; charset=utf-8",
  ".css" => "text/css; charset=utf-8",
  ".js" => "text/javascript; charset=utf-8",
  ".mjs" => "text/javascript; charset=utf-8",
  ".wasm" => "application/wasm",
  ".webmanifest" => "application/manifest+json",
  ".json" => "application/json",
  ".svg" => "image/svg+xml",
  ".png" => "image/png",
  ".txt" => "text/plain; charset=utf-8",
)
deflate.mimetypes = ("text/", "application/wasm", "application/manifest+json", "application/json", "image/svg+xml")
deflate.allowed-encodings = ("gzip")
deflate.cache-dir = "$dir/deflate"
setenv.add-response-header = (
  "Content-Security-Policy" => "$policy; frame-ancestors 'none'",
  "X-Content-Type-Options" => "nosniff",
  "Referrer-Policy" => "no-referrer",
  "Cache-Control" => "no-cache",
)
CONF
  echo "Sirviendo $site en http://127.0.0.1:$port/ (Ctrl+C para terminar)"
  exec lighttpd -D -f "$conf"
}

case "${1:-}" in
  "") build; serve ;;
  build) build ;;
  serve) serve ;;
  stamp) stamp "${2:?usage: $0 stamp DIR}" ;;
  *) echo "usage: $0 [build | serve | stamp DIR]" >&2; exit 2 ;;
esac
