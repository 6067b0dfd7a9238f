#!/usr/bin/env bash
# Builds everything and runs the example program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
build/examples/driver_info
