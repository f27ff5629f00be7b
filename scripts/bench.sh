#!/usr/bin/env bash
# Builds the benchmarks (Release) in build-bench and runs them once, headless:
# the core calculation of the 18-row example slip, "Calcular" on the windows,
# "Imprimir" against the way it printed before (to a private CUPS queue where
# run as root, never to the machine's printers) and the start-up against a
# bare Qt program. Extra arguments go to Google Benchmark (e.g.
# --benchmark_filter=Imprimir).
#   scripts/bench.sh web   only the web page's figures (size, cold load,
#                          "Calcular", Lighthouse), in headless Chromium
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench

if [ "${1:-}" = web ]; then
  npm ci --no-audit --no-fund >/dev/null
  scripts/web.sh build >/dev/null
  echo "== La página web ($(nproc) núcleos)"
  exec node bench/web/bench.mjs "${@:2}"
fi

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRECIBO_BUILD_BENCH=ON \
  -DRECIBO_BUILD_TESTS=OFF -DRECIBO_BUILD_FUZZ=OFF >/dev/null
cmake --build "$build" --target bench_recibo -j "$(nproc)"

echo "== $(nproc) núcleos, $(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | cut -d: -f2- | sed 's/^ *//')"
"$build/bench/bench_recibo" "$@"
[ $# -gt 0 ] || exec scripts/bench.sh web # the web page's figures too, unless Google Benchmark was given a choice
