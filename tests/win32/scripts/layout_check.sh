#!/usr/bin/env bash
# Runs the layout check of every window at one screen scale, under Wine on the virtual display, and
# keeps its screenshots (PNG) in BUILD_DIR/screenshots/DPI/ for the CI artefacts.
# Usage: layout_check.sh BUILD_DIR LAYOUT_CHECK_EXE DPI
set -euo pipefail
build=$1 exe=$2 dpi=$3
# shellcheck disable=SC1091
source "$build/wine-env.sh"
shots=$build/screenshots/$dpi
rm -rf "$shots"
mkdir -p "$shots"
key='HKCU\Control Panel\Desktop'
# The scale is the user's setting, read by each program at its start; put back afterwards.
restore() { wine reg add "$key" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true; }
trap restore EXIT
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
# The program's working files (the METAR document) go to a folder of their own.
work=$(mktemp -d "$build/layout.XXXXXX")
trap 'restore; rm -rf "$work"' EXIT
status=0
# Wine's own errors are kept: the notification-area icon must be drawn without an icon error.
(cd "$work" && WINEDEBUG=err+all,fixme-all wine "$exe" "$(winepath -w "$shots")" "$dpi") 2>"$shots/wine.log" || status=$?
if grep -iE 'err:.*icon' "$shots/wine.log"; then
  echo "FAIL: Wine reported an icon error"
  status=1
fi
for bmp in "$shots"/*.bmp; do
  [[ -e $bmp ]] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "screenshots: $shots ($(ls "$shots" | wc -l) windows)"
exit $status
