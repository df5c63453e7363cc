#!/usr/bin/env bash
# Takes docs/henkan-win32.png: henkan.exe under wine on a virtual display, after converting
# examples/sample.dat with examples/sizes.qdc, typed and pressed as a user would with the keys.
# Run ./test --windows first (it builds build-win/bin/henkan.exe).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
source scripts/windows.sh
qdvz_install "${QDVZ_WINDOWS_PACKAGES[@]}" xvfb imagemagick xdotool fonts-ipafont-gothic \
  fonts-ipaexfont-gothic
program=$PWD/build-win/bin/henkan.exe
[ -f "$program" ] || { echo "No $program: run ./test --windows first." >&2; exit 1; }

work=$(mktemp -d)
trap 'qdvz_wine_stop; qdvz_display_stop; rm -rf "$work"' EXIT
qdvz_display_start
qdvz_wine_start
# Wine's own fonts have no Japanese: stand in for the Windows fonts with the IPA fonts, the
# fixed-pitch IPAGothic for "ＭＳ ゴシック".
for font in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS UI Gothic"; do
  "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d IPAexGothic /f >/dev/null
done
for font in "ＭＳ ゴシック" "MS Gothic"; do
  "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d IPAGothic /f >/dev/null
done

folder=$work/見本
mkdir "$folder"
cp examples/sample.dat examples/sizes.qdc "$folder"
(cd "$folder" && exec "$WINE" "$program") &
window=$(xdotool search --sync --onlyvisible --name 'ＱＤ→ＶＺ線変形データ変換' | head -n 1)
sleep 1
keys() { xdotool key --window "$window" --delay 80 "$@"; sleep 0.3; }
# Alt+N: the file-name box; the size button is seven Tabs on, QD→VZ three.
keys alt+n && xdotool type --window "$window" sizes.qdc && keys Tab Tab Tab Tab Tab Tab Tab space
keys alt+n && xdotool type --window "$window" sample.dat && keys alt+o
keys alt+n Tab Tab Tab space
sleep 1
import -window "$window" -frame docs/henkan-win32.png
echo "docs/henkan-win32.png"
