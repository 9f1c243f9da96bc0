#!/usr/bin/env bash
# make run: what the clock would say now, that announcement spoken (or, with no sound device answering,
# written to a WAV file), then the clock itself every quarter of an hour until Ctrl+C.
set -uo pipefail
tintal=${1:-build/linux-release/tintal}
"$tintal" --dry-run || exit 1
if "$tintal" --now >/dev/null; then
    exec "$tintal" --period 15
fi
wav=$(dirname "$tintal")/tintal-now.wav
"$tintal" --render "$wav" || exit 1
echo "run: no sound device answered; the announcement is in $wav. The clock now lists its clips instead of playing them."
exec "$tintal" --period 15 --silent
