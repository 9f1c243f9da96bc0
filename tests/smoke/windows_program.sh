#!/usr/bin/env bash
# The Windows program as a user runs it, under Wine: it starts with a settings file beside it, runs its
# clock, and when asked to close (as the close box asks) writes the settings back, read-only.
#   windows_program.sh BUILD_DIR TINTAL_EXE
set -euo pipefail
build=$1 exe=$2
# shellcheck disable=SC1090
source "$build/wine-env.sh"
folder=$(mktemp -d "$build/smoke.XXXXXX")
trap 'rm -rf "$folder"' EXIT
cp "$exe" "$folder/tintal.exe"
printf '[TINTAL V2.4.0]\r\nPERIOD=3\r\nPLAGE_DEBUT=7\r\nENTETE=Y\r\nMETAR_DAT=https://aviationweather.gov/api/data/metar?ids=LFPG\r\nVERSTART=0\r\nCOM=0\r\n' \
    >"$folder/tintal.ini"

wine "$folder/tintal.exe" &
program=$!
sleep 8
kill -0 "$program" 2>/dev/null || { echo "tintal.exe ended by itself"; exit 1; }
wine taskkill /IM tintal.exe >/dev/null 2>&1 || true
for ((i = 0; i < 150; i++)); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
    echo "tintal.exe did not close within 15 s"
    wine taskkill /F /IM tintal.exe >/dev/null 2>&1 || true
    exit 1
fi

ini=$folder/tintal.ini
fail=0
for line in 'PERIOD=3' 'PLAGE_DEBUT=7' 'ENTETE=Y' 'METAR_DAT=https://aviationweather.gov/api/data/metar?ids=LFPG' \
    'VERSTART=0' 'COM=0' 'TOP=120' 'FORMMETEO=N'; do
    grep -qxF "$line"$'\r' "$ini" || { echo "missing after the save: $line"; fail=1; }
done
grep -qx 'RECORDER='$'\r' "$ini" || { echo "the save did not rewrite the file"; fail=1; }
[[ $(stat -c %a "$ini") == 444 ]] || { echo "the settings file is not read-only"; fail=1; }
echo "settings written back at close: $(grep -c . "$ini") lines"
exit $fail
