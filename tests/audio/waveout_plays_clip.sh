#!/usr/bin/env bash
# A clip played through waveOut under Wine comes back from the sound server whole: the same length of
# sound and the same level as the recording it was made from. With CLIP "long": a file of several
# clips end to end, longer than the player's two buffers, so that buffers are refilled and handed
# back while the sound goes on.
#   waveout_plays_clip.sh BUILD_DIR PROBE_EXE SOURCE_DIR CLIP|long
set -euo pipefail
build=$1 probe=$2 source=$3 clip=$4
here=$(cd "$(dirname "$0")" && pwd)
raw=$(mktemp "$build/waveout.XXXXXX.raw")
long=$build/waveout-long.wav
trap 'rm -f "$raw" "$long"' EXIT
wanted=$source/resources/clips/$clip.wav play=$clip
if [[ $clip == long ]]; then
    wanted=$long play=$(basename "$long")
    python3 - "$long" "$source"/resources/clips/SON_{TEMP_EXT,PRESSION_ATMOS,TEMP_INT}.wav <<'PY'
import sys, wave
frames, params = b"", None
for _ in range(2):
    for name in sys.argv[2:]:
        with wave.open(name) as w:
            params = params or w.getparams()
            frames += w.readframes(w.getnframes())
with wave.open(sys.argv[1], "wb") as out:
    out.setparams(params)
    out.writeframes(frames)
PY
fi
cd "$build"
"$here/record_playback.sh" "$build/wine-env.sh" "$raw" 16000 wine "$probe" clip "$play"
python3 "$here/measure_recording.py" compare "$raw" 16000 "$wanted"
