#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Quorvix.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
exec build/src/cli/quorvix-cli --help
