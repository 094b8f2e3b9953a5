#!/usr/bin/env bash
# Starts the real KORVEN under a virtual display against a fresh demo database, logs in as SYSDBA
# (the embedded engine takes any password) and saves a picture of the main window.
#   scripts/screenshot-korven.sh [OUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${BUILD_DIR:-$root/build}/bin
out=$(realpath -m "${1:-$root/build/korven-main.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of the program folder, so that its setup.ini does not touch the one of the build.
cp -r "$bin" "$work/bin"
mkdir -p "$work/db"
"$work/bin/korven-cli" demo "$work/db" > /dev/null
printf '[Ogolne]\nsciezka=%s\nuser=SYSDBA\n' "$work/db" > "$work/bin/setup.ini"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1/korven" & pid=$!
  for i in $(seq 1 100); do xdotool search --name "Database Login" > /dev/null 2>&1 && break; sleep 0.1; done
  xdotool type --delay 20 "demo"; xdotool key Return
  for i in $(seq 1 100); do xdotool search --name "System KORVEN" > /dev/null 2>&1 && break; sleep 0.1; done
  sleep 1
  import -window root "$2"
  kill $pid' _ "$work/bin" "$out"
echo "Saved $out"
