#!/usr/bin/env bash
# Takes pictures of the program's windows for people to look at: runs the window tests on a virtual
# display and saves each window they show into the folder given (default: build/screenshots).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$build/screenshots}")
mkdir -p "$out"
for t in "$build"/tests/test_*_ui; do
  [ -x "$t" ] || continue
  KORVEN_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" "$t" > /dev/null
done
echo "Screenshots in $out:"
ls "$out"
