#!/usr/bin/env bash
# The web page: the calculation core compiled to WebAssembly with Debian's
# emscripten, the page's own files from web/, the icons, the manifest and the
# service worker, gathered in build-web/site (a folder that can be copied to
# any static web host).
#   scripts/web.sh           builds the site and serves it at http://127.0.0.1:8080
#   scripts/web.sh build     builds the site only
#   scripts/web.sh serve     serves the site as it was built
#   scripts/web.sh stamp DIR writes the service worker's manifest of files and their hashes for the site in DIR
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

# The service worker's manifest: every file of the site (itself excepted)
# with the SHA-256 of its bytes as Subresource Integrity writes it, which the
# worker checks before it stores a build; and its version, a hash of the
# manifest and of the worker itself, so that a new build, or a new worker, is
# stored whole beside the old one and replaces it whole.
sri() {
  printf '%b' "$(sha256sum "$1" | cut -c1-64 | sed 's/../\\x&/g')" | base64 -w0
}

stamp() {
  local dir=$1 files file manifest version
  files=$(cd "$dir" && find . -type f ! -name sw.js -printf '%P\n' | LC_ALL=C sort)
  manifest=$(cd "$dir" && while IFS= read -r file; do
    printf "  '%s': 'sha256-%s',\n" "$file" "$(sri "$file")"
  done <<<"$files")
  version=$( { printf '%s\n' "$manifest"; cat "$root/web/sw.js"; } | sha256sum | cut -c1-16)
  awk -v version="$version" -v manifest="$manifest" '
    /^const VERSION = / { print "const VERSION = \x27" version "\x27;"; next }
    /^const FILES = \{/ { print "const FILES = {\n" manifest "\n};"; skip = 1; next }
    skip && /^\};/ { skip = 0; next }
    !skip { print }' "$root/web/sw.js" >"$dir/sw.js"
}

build() {
  scripts/install-deps.sh web
  export NODE_PATH=/usr/share/nodejs # emscripten's optimiser needs Debian's acorn
  local cache
  cache=$(em-config CACHE 2>/dev/null || echo /usr/share/emscripten/cache)
  [ -w "$cache" ] || export EM_CACHE=$out/em-cache
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache) || launcher=()
  # Optimised for size, across the libraries too: the module is most of what
  # the page loads. Nothing in it catches an exception, so none are compiled.
  emcmake cmake -S . -B "$out/core" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_CXX_FLAGS_MINSIZEREL="-Oz -flto -fno-exceptions -DNDEBUG" \
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
# the icon inside the safe circle on the page's window colour. Each is
# reduced to a palette of its own colours (pngquant), which halves what the
# offline copy stores and cannot be told apart on screen.
icons() {
  local dir=$1 svg=packaging/icons/recibo.svg size
  for size in 192 512; do
    rsvg-convert -w $size -h $size "$svg" | small_png "$dir/recibo-$size.png"
  done
  {
    echo '<svg xmlns="http://www.w3.org/2000/svg" width="512" height="512" viewBox="0 0 512 512">'
    echo '<rect width="512" height="512" fill="#004040"/><g transform="translate(96 96) scale(1.25)">'
    sed -e '1,/<svg /d' -e '/<\/svg>/d' -e '/<title>/d' "$svg"
    echo '</g></svg>'
  } | rsvg-convert -w 512 -h 512 | small_png "$dir/recibo-maskable-512.png"
}

small_png() {
  pngquant --quality=80-100 --speed 1 --strip - >"$1"
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
