#!/usr/bin/env python3
"""Synthesise resources/tintal.wav, the two-note cuckoo call.

A cuckoo sings a falling minor third; each note is a nearly pure tone that
droops slightly in pitch, with a soft onset and a slower release. The file
uses the same 16 kHz mono 16-bit layout and writer as the speech clips.

Usage: make_cuckoo.py [--out FILE]
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import loudness  # noqa: E402
import riffwav  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_OUT = os.path.join(ROOT, "resources", "tintal.wav")

# (start frequency Hz, duration s); 660 -> 550 is a ratio of 6/5, a minor third.
NOTES = [(660.0, 0.28), (550.0, 0.32)]
GAP = 0.12             # silence between the notes
DROOP = 0.03           # each note falls by 3 % over its length
ATTACK = 0.03          # raised-cosine onset
RELEASE = 0.10         # raised-cosine release
HARMONICS = [(1, 1.0), (2, 0.12), (3, 0.04)]   # a little body, still hollow


def note(f0, seconds, rate=riffwav.RATE):
    n = int(round(seconds * rate))
    a, r = int(ATTACK * rate), int(RELEASE * rate)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / n
        phase += 2 * math.pi * f0 * (1 - DROOP * t) / rate
        x = sum(amp * math.sin(k * phase) for k, amp in HARMONICS)
        if i < a:
            x *= 0.5 - 0.5 * math.cos(math.pi * i / a)
        elif i >= n - r:
            x *= 0.5 - 0.5 * math.cos(math.pi * (n - 1 - i) / r)
        out.append(x)
    return out


def cuckoo():
    """Return the call as int16 samples, as loud as the speech clips."""
    first, second = (note(f, d) for f, d in NOTES)
    call = first + [0.0] * int(round(GAP * riffwav.RATE)) + second
    return [int(round(x * 32767)) for x in loudness.normalise(call)]


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=DEFAULT_OUT)
    args = ap.parse_args()
    riffwav.write(args.out, cuckoo(), "TINTAL")
    name, pcm = riffwav.read(args.out)
    if name != "TINTAL" or len(pcm) != len(cuckoo()):
        sys.exit("%s did not read back as written" % args.out)
    peak = max(abs(x) for x in pcm)
    print("%s: %d samples, %.3f s, peak %.2f dBFS, speech loudness %.2f dBFS"
          % (args.out, len(pcm), len(pcm) / riffwav.RATE,
             20 * math.log10(peak / 32768),
             loudness.speech_loudness(pcm, 32768)))


if __name__ == "__main__":
    main()
