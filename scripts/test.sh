#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test suite: the product's, then
# the core's under the sanitizers, then the Windows build's under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j 2
bash scripts/test-sanitizers.sh
bash scripts/test-windows.sh
