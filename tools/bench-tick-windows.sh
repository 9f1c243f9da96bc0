#!/usr/bin/env bash
# Benchmark: the Windows clock's tick lateness after each wall-clock second, under Wine.
#   tools/bench-tick-windows.sh [WINDOWS_BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
windows=${1:-build/win64}
# Stop the Wine environment after only if started here.
started=no
tools/wine-env.sh status "$windows" >/dev/null 2>&1 || { tools/wine-env.sh start "$windows" >/dev/null && started=yes; }
trap '[[ $started == no ]] || tools/wine-env.sh stop "$windows" >/dev/null' EXIT
# shellcheck disable=SC1091
source "$windows/wine-env.sh"
wine "$windows/tintal_tick_bench.exe" 2>/dev/null
