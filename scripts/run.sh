#!/usr/bin/env bash
# Builds numora and starts it; any arguments are passed to the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DNUMORA_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target numora >/dev/null
exec build/app/numora "$@"
