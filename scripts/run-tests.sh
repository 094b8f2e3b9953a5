#!/usr/bin/env bash
# Installs what is needed, builds KORVEN and runs every test. Tests that need a Firebird server start
# a private one themselves on a free loopback port and stop it at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
# The embedded engine keeps its lock files in /tmp/firebird, shared by every embedded program of the
# machine. The tests kill programs on purpose; they get a fresh lock folder of their own for each run,
# so that nothing left behind by another program (or an earlier run) can hold them up, and nothing
# they leave behind can hold up anyone else.
if [ -z "${FIREBIRD_LOCK:-}" ]; then
  FIREBIRD_LOCK="$(mktemp -d "${TMPDIR:-/tmp}/korven-test-lock.XXXXXX")"
  export FIREBIRD_LOCK
  trap 'rm -rf "$FIREBIRD_LOCK"' EXIT
fi
"$root/scripts/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
