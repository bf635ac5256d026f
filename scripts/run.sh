#!/usr/bin/env bash
# Builds the program and opens the bundled sample exam in it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
exec build/src/app/kipsa-prubex "$PWD/build/examples/muestra.kxt"
