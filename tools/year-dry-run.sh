#!/usr/bin/env bash
# Prints the clips of one announcement a day for a year, at a different time each day, for a few
# settings (no source, a WS-2300 history file, a Pro2 archive, a METAR report): a refactoring must
# leave this output byte for byte the same.
# Usage: tools/year-dry-run.sh TINTAL_BINARY [YEAR]
set -euo pipefail
bin=$(realpath "$1")
year=${2:-2026}
data=$(realpath "$(dirname "$0")/../tests/data" 2>/dev/null || true)
[ -d "$data/lacrosse" ] || data=$(realpath "$(dirname "$0")/../../shared/data")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

xz -dc "$data/lacrosse/ws2300-history.dat.xz" >"$work/history.dat"
xz -dc "$data/wlk/2012-08.wlk.xz" >"$work/2012-08.wlk"
printf 'METAR LFPG 081300Z 24012G25KT 9999 FEW030 12/07 Q1013=\n' >"$work/metar.txt"

settings() {  # name, then the lines of its tintal.ini
    local dir="$work/$1"; shift
    mkdir -p "$dir"
    { echo '[TINTAL V2.4.0]'; printf '%s\n' "PERIOD=3" "PLAGE_DEBUT=0" "PLAGE_FIN=24" "$@"; } >"$dir/tintal.ini"
}
settings plain
settings w23 METEO=W23 W23_TEMPEXT=Y W23_PRESATM=Y W23_VITVENT=Y W23_DIRVENT=Y W23_HUMIDI=Y "W23_DAT=$work/history.dat"
settings pro2 METEO=PRO2 PRO2_TEMPEXT=Y PRO2_PRESATM=Y PRO2_VITVENT=Y PRO2_PLUIE=Y "PRO2_DAT=$work/2012-08.wlk"
settings metar METEO=METAR METAR_TEMPEXT=Y METAR_PRESATM=Y METAR_VITVENT=Y METAR_VITRAFA=Y METAR_DIRVENT=Y \
    METAR_HUMIDI=Y "METAR_DAT=$work/metar.txt"

for name in plain w23 pro2 metar; do
    for day in $(seq 0 364); do
        at=$(date -u -d "$year-01-01 +$day days" +%Y-%m-%d)
        hh=$(((day * 7) % 24))
        mm=$(((day * 13) % 60))
        printf -v when '%s %02d:%02d' "$at" "$hh" "$mm"
        echo "== $name $when"
        "$bin" --dir "$work/$name" --dry-run --at "$when" 2>&1 | sed -e "s#$work#WORK#g" -e "s#$(dirname "$bin")#BIN#g"
    done
done
