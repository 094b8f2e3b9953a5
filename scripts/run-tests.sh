#!/usr/bin/env bash
# Installs what is needed, builds KORVEN and runs every test. Tests that need a Firebird server start
# a private one themselves on a free loopback port and stop it at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
