#!/usr/bin/env bash
# Installs what is needed, builds KORVEN, creates a demo database on the embedded engine (once) and
# starts the program on it. Log in as SYSDBA with any password.
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
bin=${BUILD_DIR:-$root/build}/bin
demo=${KORVEN_DEMO_DIR:-$root/demo}
mkdir -p "$demo"
if [ ! -f "$demo/korven.adb" ]; then
  "$bin/korven-cli" demo "$demo"
fi
printf '[Ogolne]\nsciezka=%s\nuser=SYSDBA\n' "$demo" > "$bin/setup.ini"
if [ -x "$bin/korven" ]; then
  exec "$bin/korven"
else
  echo "Demo database ready in $demo (the main window is not built yet)."
fi
