#!/usr/bin/env bash
# Installs the built tree into a scratch prefix, as the Debian package is made, and checks that every
# file the installed programs look for is there, that the programs find it from there, and that
# nothing from the build tree (tests, libraries, databases) comes along.
#   tests/package/check-install.sh BUILD-DIR
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
cmake --install "$build" --prefix "$dest/usr" > /dev/null

fail=0
expect() { [ -e "$dest/usr/$1" ] || { echo "missing: /usr/$1"; fail=1; }; }
for f in bin/korven bin/korven-cli bin/sarkol \
         share/korven/raporty/PojSpis.rav share/korven/raporty/RapKartD.rav \
         share/korven/karta.xlsx share/korven/karta2.xlsx share/korven/karta_pracy_sprzetu1.xlsx \
         share/korven/karta_pracy_sprzetu2.xlsx share/korven/karta_pracy_sprzetu3.xlsx \
         share/korven/karta.doc share/korven/wkladka.doc \
         share/korven/brak.bmp share/korven/korven.png share/korven/sarkol.png \
         share/applications/korven.desktop share/applications/sarkol.desktop \
         share/icons/hicolor/128x128/apps/korven.png share/icons/hicolor/128x128/apps/sarkol.png \
         share/icons/hicolor/scalable/apps/korven.svg share/icons/hicolor/scalable/apps/sarkol.svg; do
  expect "$f"
done
# Every sound of the source tree is installed beside the other read-only files.
root=$(cd "$(dirname "$0")/../.." && pwd)
for w in "$root"/data/*.wav; do [ -e "$w" ] && expect "share/korven/$(basename "$w")"; done
# The entries start programs that are installed, with icons that are installed.
for d in korven sarkol; do
  grep -qx "Exec=$d" "$dest/usr/share/applications/$d.desktop" || { echo "$d.desktop: Exec"; fail=1; }
  grep -qx "Icon=$d" "$dest/usr/share/applications/$d.desktop" || { echo "$d.desktop: Icon"; fail=1; }
done
stray=$(cd "$dest/usr" && find . -name '*.a' -o -name 'test_*' -o -name '*.adb' -o -name 'setup.ini' -o -name '*.o')
[ -z "$stray" ] || { echo "not for the package: $stray"; fail=1; }

# Run from the scratch prefix, korven-cli finds the installed templates and writes its photographs
# and a new setup.ini into the user's folders, never beside the executable.
home=$(mktemp -d -p "$dest")
mkdir -p "$home/db"
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
  "$dest/usr/bin/korven-cli" demo "$home/db" > /dev/null
[ -n "$(ls "$home/.local/share/korven/fotogr" 2>/dev/null)" ] || { echo "demo photographs not in the user's data folder"; fail=1; }
[ ! -e "$dest/usr/bin/fotogr" ] || { echo "photographs written beside the installed executable"; fail=1; }
exit $fail
