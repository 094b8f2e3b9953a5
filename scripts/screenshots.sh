#!/usr/bin/env bash
# Takes pictures of the program's windows for people to look at: runs the window tests on a virtual
# display and saves each window they show into the folder given (default: build/screenshots), and
# the screen of the real program at every window chain of the main menu.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out=$(realpath -m "${1:-$build/screenshots}")
mkdir -p "$out"
for t in "$build"/tests/test_*_ui; do
  [ -x "$t" ] || continue
  KORVEN_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" "$t" > /dev/null
done
# The real program under a window manager: the screen at the deepest window of every chain of the
# main menu ("desktop-*.png"); that test starts its own display.
if [ -x "$build/tests/test_korven_desktop" ]; then
  KORVEN_SCREENSHOT_DIR="$out" "$build/tests/test_korven_desktop" --gtest_filter='*WindowChains*:SecondCopy*' > /dev/null
fi
echo "Screenshots in $out:"
ls "$out"
