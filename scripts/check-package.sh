#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 root and starts KORVEN there as a plain user:
# builds a clean root with debootstrap (once), installs the package with apt-get (which pulls its
# dependencies), creates the demo database as the package's README says, starts korven under Xvfb,
# logs in and saves a screenshot of the main window. Long (the first run downloads a system); not
# part of the test suite. Run as root.
#   scripts/check-package.sh PACKAGE.deb ROOT-FOLDER [SCREENSHOT.png]
set -euo pipefail
deb=$(realpath "$1")
root=$2
shot=${3:-$PWD/korven-installed.png}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "check-package.sh: run as root (debootstrap and chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || apt-get install -y -q debootstrap

if [ ! -x "$root/usr/bin/apt-get" ]; then
  mkdir -p "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror"
fi
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
for m in proc sys dev dev/pts; do
  mountpoint -q "$root/$m" || { mount --bind "/$m" "$root/$m"; mounted+=("$root/$m"); }
done
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
# The Debian suites of this machine (bookworm, its updates and security), as a fresh install has.
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/debian.sources"
  : > "$root/etc/apt/sources.list"
fi
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

in_root apt-get update -q
in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")"
# Only what the check itself needs: a display, a window manager, the screenshot and the keys.
in_root apt-get install -y -q --no-install-recommends xvfb xauth openbox xdotool imagemagick
in_root id kierowca >/dev/null 2>&1 || in_root useradd -m kierowca
# The embedded engine's lock folder belongs to the group firebird where that group exists.
if in_root getent group firebird >/dev/null; then in_root usermod -aG firebird kierowca; fi

cat > "$root/tmp/start-korven.sh" <<'INNER'
#!/bin/sh
# Runs as the plain user: the demo database in the user's data folder, then the program.
set -eu
export HOME=/home/kierowca KORVEN_TODAY=2026-12-10 LANG=C.UTF-8
rm -f /tmp/korven-*.png
mkdir -p "$HOME/.local/share/korven"
[ -f "$HOME/.local/share/korven/korven.adb" ] || korven-cli demo "$HOME/.local/share/korven"
Xvfb :57 -screen 0 1280x900x24 -nolisten tcp & xvfb=$!
trap 'kill $wm $app $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:57
sleep 1
openbox & wm=$!
korven > /tmp/korven.out 2>&1 & app=$!
# The login dialog: the demo's kierowca SYSDBA with any password.
for i in $(seq 1 150); do xdotool search --onlyvisible --name "Database Login" >/dev/null 2>&1 && break; sleep 0.2; done
sleep 3
xdotool windowactivate --sync "$(xdotool search --onlyvisible --name "Database Login" | head -1)" || true
import -window root /tmp/korven-login.png
xdotool type --delay 50 "demo"
xdotool key Return
sleep 3
# A user name missing from the operators' list is told in a message box; the program goes on after it.
if xdotool search --onlyvisible --name "^KORVEN$" >/dev/null 2>&1; then
  import -window root /tmp/korven-message.png
  xdotool key Return
fi
found=no
for i in $(seq 1 100); do
  xdotool search --onlyvisible --name "System KORVEN" >/dev/null 2>&1 && { found=yes; break; }
  sleep 0.2
done
sleep 2
import -window root /tmp/korven-main.png
[ $found = yes ] || { echo "the main window did not appear"; cat /tmp/korven.out; exit 1; }
INNER
chmod 755 "$root/tmp/start-korven.sh"
in_root su kierowca -s /bin/sh -c /tmp/start-korven.sh
cp "$root/tmp/korven-main.png" "$shot"
cp "$root/tmp/korven-login.png" "${shot%.png}-login.png"
[ ! -f "$root/tmp/korven-message.png" ] || cp "$root/tmp/korven-message.png" "${shot%.png}-message.png"
echo "KORVEN installed from $(basename "$deb") and started; main window in $shot"
