#!/usr/bin/env bash
# What the shell and Windows read from the program file itself: the icon group (every size the shell
# asks for), the version block (the version of the sources, in French) and the manifest.
# Usage: resources_check.sh <tintal.exe> <source dir>
set -euo pipefail
exe=$1 src=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

listing=$(wrestool -l "$exe")
for type in 14 16 24; do
  grep -q -- "--type=$type " <<<"$listing" || fail "no resource of type $type in $exe:"$'\n'"$listing"
done
grep -q -- "--type=14 --name=1 " <<<"$listing" || fail "the first icon group is not number 1"
grep -q -- "--type=14 --name=2 " <<<"$listing" || fail "no carrier-detect icon (group 2)"

wrestool -x --type=14 --name=1 "$exe" >"$work/tintal.ico"
sizes=$(icotool -l "$work/tintal.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
[[ $sizes == "16 20 24 32 48 256 " ]] || fail "icon sizes are '$sizes'"

version=$(sed -n 's/^#define TINTAL_VERSION_TEXT "\(.*\)"/\1/p' "$src/src/base/version.h")
wrestool -x --raw --type=16 "$exe" >"$work/version.bin"
python3 - "$work/version.bin" "$version" <<'PY' || fail "version block"
import sys
text = open(sys.argv[1], "rb").read().decode("utf-16-le", "replace").replace("\0", "|")
want = sys.argv[2]
for needle in ("040C04B0", "ProductName||Tintal", "FileVersion||" + want, "ProductVersion||" + want):
    found = needle in text or needle.replace("||", "|") in text
    if not found:
        print("missing " + needle + " in " + text, file=sys.stderr)
        sys.exit(1)
PY
# The fixed part: FileVersion as four 16-bit numbers, 2.4.0.0 for "2.4.0".
python3 - "$work/version.bin" "$version" <<'PY' || fail "fixed file version"
import struct, sys
data = open(sys.argv[1], "rb").read()
at = data.find(struct.pack("<I", 0xFEEF04BD))
ms, ls = struct.unpack_from("<II", data, at + 8)
parts = [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF]
want = [int(p) for p in sys.argv[2].split(".")] + [0]
if parts != want[:4]:
    print(f"fixed version {parts} != {want}", file=sys.stderr)
    sys.exit(1)
PY

wrestool -x --raw --type=24 "$exe" >"$work/manifest.xml"
for needle in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' 'WindowsSettings">true</dpiAware>' 'supportedOS Id=' \
              'level="asInvoker"'; do
  grep -q -- "$needle" "$work/manifest.xml" || fail "manifest lacks $needle"
done
echo "resources: icon sizes $sizes, version $version, manifest with visual styles and DPI awareness"
