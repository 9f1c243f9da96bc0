#!/usr/bin/env bash
# The Windows release as a user gets it: the zip is made from the builds, holds what its notice says,
# and the program unpacked from it runs in a Wine prefix of its own (nothing installed before) and
# passes the smoke test.
# Usage: release_zip.sh BUILD_DIR SOURCE_DIR [ZIP]   (without ZIP, it is made from BUILD_DIR and ../win32)
set -euo pipefail
build=$(cd "$1" && pwd) src=$(cd "$2" && pwd) zip=${3:-}
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d "$build/release.XXXXXX")
trap 'rm -rf "$work"' EXIT

if [[ -z $zip ]]; then
  if [[ ! -f $build/../win32/tintal.exe ]]; then
    echo "SKIP: no i686 build beside this one ($build/../win32); 'make build-windows' makes it"
    exit 77
  fi
  "$src/tools/dist.sh" "$build" "$build/../win32" - "$work/dist" >/dev/null
  zip=$(echo "$work"/dist/tintal-*-windows.zip)
fi
version=$(sed -n 's/^#define TINTAL_VERSION_TEXT "\(.*\)"/\1/p' "$src/src/base/version.h")
[[ $(basename "$zip") == "tintal-$version-windows.zip" ]] || fail "archive named $(basename "$zip")"

unzip -q "$zip" -d "$work/unpacked"
folder=$work/unpacked/tintal-$version-windows
listed=$(cd "$folder" && ls | LC_ALL=C sort | tr '\n' ' ')
[[ $listed == "LISEZMOI.txt exemple-tintal.ini tintal-32bits.exe tintal.exe tintal.wav tintal_help.html " ]] ||
  fail "the archive holds: $listed"
file -b "$folder/tintal.exe" | grep -q 'PE32+ executable (GUI) x86-64' || fail "tintal.exe: $(file -b "$folder/tintal.exe")"
file -b "$folder/tintal-32bits.exe" | grep -q 'PE32 executable (GUI) Intel 80386' ||
  fail "tintal-32bits.exe: $(file -b "$folder/tintal-32bits.exe")"
head -c3 "$folder/LISEZMOI.txt" | cmp -s - <(printf '\xef\xbb\xbf') || fail "LISEZMOI.txt has no byte-order mark"
grep -q $'Program Files.*\r$' "$folder/LISEZMOI.txt" || fail "LISEZMOI.txt lacks CR LF or the Program Files warning"
grep -q '^\[TINTAL V' "$folder/exemple-tintal.ini" || fail "exemple-tintal.ini is not a settings file"

# A fresh prefix: the program must need nothing that an earlier test put in the shared one.
# shellcheck disable=SC1091
source "$build/wine-env.sh"
mkdir -p "$work/env"
cat >"$work/env/wine-env.sh" <<ENV
source "$build/wine-env.sh"
export WINEPREFIX="$work/prefix"
ENV
WINEPREFIX=$work/prefix wineboot -i >/dev/null 2>&1 || fail "wineboot of a fresh prefix"
bash "$src/tests/smoke/windows_program.sh" "$work/env" "$folder/tintal.exe"
WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
echo "release zip: $listed; the unpacked program passed the smoke test in a fresh prefix"
