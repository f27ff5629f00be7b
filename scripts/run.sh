#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRECIBO_BUILD_TESTS=OFF >/dev/null
cmake --build build --target recibo
exec build/recibo "$@"
