#!/usr/bin/env bash
# Benchmark: the silence heard between two consecutive clips, on the waveOut path (under Wine) and on
# the ALSA path (through ALSA's pulse plugin), both played into a null sink and recorded back from its
# monitor. The player waits 50 ms between clips; the target for what is heard is 50 +- 10 ms. Prints figures only.
#   tools/bench-clip-gap.sh [NATIVE_BUILD [WINDOWS_BUILD]]
set -euo pipefail
cd "$(dirname "$0")/.."
native=${1:-build/linux} windows=${2:-build/win64}
clips=(SON_IL_EST SON21_UNE SON_HEURES_N SON1_UNE SON_MINUTES SON_MARDI SON1_PREMIER SON_DECEMBRE)
measure=tests/audio/measure_recording.py

files=()
for clip in "${clips[@]}"; do files+=("resources/clips/$clip.wav"); done

# The sound server comes with the Windows test environment; stop it after only if started here.
started=no
tools/wine-env.sh status "$windows" >/dev/null 2>&1 || { tools/wine-env.sh start "$windows" >/dev/null && started=yes; }
raw=$(mktemp /tmp/tintal-gap.XXXXXX.raw)
conf=$(mktemp /tmp/tintal-gap.XXXXXX.conf)
trap 'rm -f "$raw" "$conf"; [[ $started == no ]] || tools/wine-env.sh stop "$windows" >/dev/null' EXIT

echo "waveOut (Wine), ${#clips[@]} clips:"
tests/audio/record_playback.sh "$windows/wine-env.sh" "$raw" 16000 wine "$windows/play_probe.exe" clip "${clips[@]}"
python3 "$measure" gaps "$raw" 16000 "${files[@]}"

echo "ALSA (pulse plugin), ${#clips[@]} clips:"
printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' >"$conf"
ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$conf \
    tests/audio/record_playback.sh "$windows/wine-env.sh" "$raw" 16000 "$native/play_probe" clip "${clips[@]}"
python3 "$measure" gaps "$raw" 16000 "${files[@]}"
