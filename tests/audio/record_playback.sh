#!/usr/bin/env bash
# Records what a command plays into the sound server's null sink, from the sink's monitor.
#   record_playback.sh ENV_FILE OUT.raw RATE COMMAND...
# ENV_FILE is the one tools/wine-env.sh start writes (sound server, Wine prefix, display). OUT.raw gets
# signed 16-bit little-endian mono at RATE. Exits with the command's status.
set -euo pipefail
env_file=$1 out=$2 rate=$3
shift 3
# shellcheck disable=SC1090
source "$env_file"

# An idle null sink suspends, and its monitor then loses the start of what plays: a stream of
# silence keeps it running for the whole recording.
pacat --playback --device="$TINTAL_PULSE_SINK" --rate="$rate" --channels=1 --format=s16le --latency-msec=10 </dev/zero &
keeper=$!
parec -d "$TINTAL_PULSE_SINK.monitor" --rate="$rate" --channels=1 --format=s16le --latency-msec=10 >"$out" &
recorder=$!
trap 'kill "$recorder" "$keeper" 2>/dev/null || true' EXIT
# The recorder must be receiving before the first sample plays: wait for its first 100 ms of silence.
for ((i = 0; i < 100; i++)); do
    (($(stat -c %s "$out") >= rate / 5)) && break
    sleep 0.1
done

status=0
"$@" || status=$?
sleep 0.5
kill "$recorder" "$keeper" 2>/dev/null || true
wait "$recorder" "$keeper" 2>/dev/null || true
exit $status
