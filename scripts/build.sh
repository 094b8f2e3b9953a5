#!/usr/bin/env bash
# Configures and builds KORVEN into build/ (or the folder given as BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DKORVEN_WERROR=ON "$@"
cmake --build "$build" --parallel "$(nproc)"
