#!/usr/bin/env bash
# A clip played through waveOut under Wine comes back from the sound server whole: the same length of
# sound and the same level as the recording it was made from.
#   waveout_plays_clip.sh BUILD_DIR PROBE_EXE SOURCE_DIR CLIP
set -euo pipefail
build=$1 probe=$2 source=$3 clip=$4
here=$(cd "$(dirname "$0")" && pwd)
raw=$(mktemp "$build/waveout.XXXXXX.raw")
trap 'rm -f "$raw"' EXIT
"$here/record_playback.sh" "$build/wine-env.sh" "$raw" 16000 wine "$probe" clip "$clip"
python3 "$here/measure_recording.py" compare "$raw" 16000 "$source/resources/clips/$clip.wav"
