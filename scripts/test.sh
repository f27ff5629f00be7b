#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# the whole test suite headless: the fuzz targets for a bounded time, the tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, and last the tests as
# built; both test runs print for real through a private CUPS scheduler where
# root.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Fuzzing"
scripts/fuzz.sh "${RECIBO_FUZZ_SECONDS:-60}"

echo "== The calculation's tests with doubles read and written as the web build does (no floating-point to_chars)"
cmake -S . -B build-portable -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRECIBO_CORE_ONLY=ON -DRECIBO_PORTABLE_NUMBERS=ON \
  -DRECIBO_WERROR=ON -DRECIBO_BUILD_TESTS=ON >/dev/null
cmake --build build-portable -j "$jobs"
(cd build-portable && ctest --output-on-failure -j "$jobs")

echo "== Web page (the site the web tests load)"
npm ci --no-audit --no-fund
scripts/web.sh build

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRECIBO_WERROR=ON -DRECIBO_SANITIZE=ON \
  -DRECIBO_BUILD_TESTS=ON >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ctest --output-on-failure -j "$jobs" -LE web) # the browser tests run once, below

echo "== Build and tests"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRECIBO_WERROR=ON -DRECIBO_BUILD_TESTS=ON >/dev/null
cmake --build build-test -j "$jobs"
(cd build-test && ctest --output-on-failure -j "$jobs")

