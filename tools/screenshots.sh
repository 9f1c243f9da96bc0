#!/usr/bin/env bash
# Takes again the screenshots of the documentation (docs/images/): the main window, the weather source
# chooser and a decoded METAR window, drawn by the Windows program's own windows under Wine on a virtual
# display at 96 DPI. Usage: tools/screenshots.sh [WIN64_BUILD]   (default build/win64, configured)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
cmake --build "$build" --target tintal_layout_check
# Leave the environment as found: stop it afterwards only if it was not running.
started=0
if ! "$root/tools/wine-env.sh" status "$build" >/dev/null 2>&1; then
  "$root/tools/wine-env.sh" start "$build"
  started=1
fi
status=0
bash "$root/tests/win32/scripts/layout_check.sh" "$build" "$build/tintal_layout_check.exe" 96 || status=$?
[[ $started == 1 ]] && "$root/tools/wine-env.sh" stop "$build"
for name in main choix_meteo meteo_metar; do
  cp "$build/screenshots/96/$name.png" "$root/docs/images/$name.png"
done
echo "docs/images: main.png choix_meteo.png meteo_metar.png"
exit $status
