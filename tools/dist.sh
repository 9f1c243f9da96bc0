#!/usr/bin/env bash
# The release archives, from the builds already made:
#   dist/tintal-VERSION-windows.zip         tintal.exe (x86_64, the tested build), tintal-32bits.exe (i686)
#   dist/tintal-VERSION-linux-x86_64.tar.gz the Linux program
# each with tintal.wav, tintal_help.html, LISEZMOI.txt and exemple-tintal.ini.
# Usage: tools/dist.sh WIN64_BUILD WIN32_BUILD LINUX_BUILD OUT_DIR   (LINUX_BUILD "-": the zip only)
set -euo pipefail
win64=$1 win32=$2 linux=$3 out=$4
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^#define TINTAL_VERSION_TEXT "\(.*\)"/\1/p' "$root/src/base/version.h")
[[ -n $version ]] || { echo "dist: no version in src/base/version.h" >&2; exit 1; }
needed=("$win64/tintal.exe" "$win32/tintal.exe")
[[ $linux == - ]] || needed+=("$linux/tintal")
for file in "${needed[@]}"; do
  [[ -f $file ]] || { echo "dist: $file is missing (build it first)" >&2; exit 1; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$out"
out=$(cd "$out" && pwd)

# Text for Windows users: UTF-8 with a byte-order mark (so Notepad reads the accents), CR LF line ends.
windowsText() { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$1"; }

documents() {
  local into=$1 eol=$2
  cp "$root/resources/tintal.wav" "$root/resources/help/tintal_help.html" "$into/"
  if [[ $eol == crlf ]]; then
    windowsText "$root/resources/dist/LISEZMOI.txt" >"$into/LISEZMOI.txt"
  else
    cp "$root/resources/dist/LISEZMOI.txt" "$into/LISEZMOI.txt"
  fi
  # The settings file is the program's own format: kept byte for byte (CR LF already).
  cp "$root/examples/tintal.ini" "$into/exemple-tintal.ini"
}

name=tintal-$version-windows
mkdir "$stage/$name"
cp "$win64/tintal.exe" "$stage/$name/tintal.exe"
cp "$win32/tintal.exe" "$stage/$name/tintal-32bits.exe"
documents "$stage/$name" crlf
rm -f "$out/$name.zip"
(cd "$stage" && TZ=UTC zip -q -X -r "$out/$name.zip" "$name")

echo "dist: $out/tintal-$version-windows.zip"
[[ $linux == - ]] && exit 0

name=tintal-$version-linux-x86_64
mkdir "$stage/$name"
cp "$linux/tintal" "$stage/$name/tintal"
strip "$stage/$name/tintal" 2>/dev/null || true
documents "$stage/$name" lf
tar -C "$stage" --owner=0 --group=0 --numeric-owner -czf "$out/$name.tar.gz" "$name"

echo "dist: $out/tintal-$version-linux-x86_64.tar.gz"
