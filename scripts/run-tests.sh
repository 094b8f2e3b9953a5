#!/usr/bin/env bash
# Installs what is needed, builds KORVEN and runs every test. Tests that need a Firebird server start
# a private one themselves on a free loopback port and stop it at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
# The embedded engine keeps its lock files in /tmp/firebird, which belongs to the firebird group once
# the server package has run; a user outside that group gets a folder of his own.
if [ "$(id -u)" -ne 0 ] && [ -z "${FIREBIRD_LOCK:-}" ] && ! [ -w /tmp/firebird -o ! -e /tmp/firebird ]; then
  export FIREBIRD_LOCK="${XDG_RUNTIME_DIR:-$HOME/.cache}/korven-firebird-lock"
  mkdir -p "$FIREBIRD_LOCK"
fi
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
