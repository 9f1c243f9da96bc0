"""Speech loudness, and the level processing every clip goes through.

A transmitter's audio chain compresses and clips: clips of uneven loudness
come out of it more uneven still. So every clip is brought to one speech
loudness, with its peaks held below a ceiling by a look-ahead limiter.

Speech loudness is the RMS over the voiced 20 ms frames of a clip: those
within VOICED_DB of its loudest frame. Pauses and soft edges do not count, so
a short word and a long phrase spoken alike measure alike.
"""

import collections
import math

RATE = 16000
FRAME = RATE // 50             # 20 ms
VOICED_DB = 20.0
TARGET_DBFS = -18.0            # speech loudness of every clip
CEILING_DBFS = -1.0            # no sample above this
TOLERANCE_DB = 1.0             # the catalogue's spread must stay within +-1 dB
LIMITER_MS = 5                 # look-ahead and release of the limiter


def dbfs(rms):
    return 20 * math.log10(rms) if rms > 0 else float("-inf")


def speech_loudness(samples, full_scale=1.0):
    """Speech loudness in dBFS of float (full_scale 1) or int16 (32768)
    samples."""
    frames = [sum(x * x for x in samples[i:i + FRAME]) / FRAME
              for i in range(0, len(samples) - FRAME + 1, FRAME)]
    if not frames:
        frames = [sum(x * x for x in samples) / max(1, len(samples))]
    loudest = max(frames)
    if loudest <= 0:
        return float("-inf")
    floor = loudest * 10 ** (-VOICED_DB / 10)
    voiced = [e for e in frames if e >= floor]
    return dbfs(math.sqrt(sum(voiced) / len(voiced)) / full_scale)


def _sliding_min(values, half):
    """min(values[i-half .. i+half]) for each i, in linear time."""
    out, window = [], collections.deque()
    n = len(values)
    for i in range(n + half):
        if i < n:
            while window and values[window[-1]] >= values[i]:
                window.pop()
            window.append(i)
        centre = i - half
        if centre < 0:
            continue
        while window[0] < centre - half:
            window.popleft()
        out.append(values[window[0]])
    return out


def limit(samples, ceiling):
    """Holds every |sample| at or below ceiling with a smooth gain.

    The gain at each sample is the average, over a window, of the smallest
    gain any sample within that window needs; since every value averaged is
    at most what the sample itself needs, no sample ends above the ceiling.
    """
    need = [min(1.0, ceiling / abs(x)) if x else 1.0 for x in samples]
    if min(need) >= 1.0:
        return list(samples)
    half = RATE * LIMITER_MS // 1000
    floor = _sliding_min(need, half)
    prefix = [0.0]
    for g in floor:
        prefix.append(prefix[-1] + g)
    out = []
    n = len(samples)
    for i, x in enumerate(samples):
        lo, hi = max(0, i - half), min(n, i + half + 1)
        out.append(x * (prefix[hi] - prefix[lo]) / (hi - lo))
    return out


def normalise(samples, target=TARGET_DBFS, ceiling=CEILING_DBFS):
    """Float samples brought to the target speech loudness, peaks limited.

    Limiting lowers the loudness of a peaky clip a little, so the gain is
    corrected and the limiter run again until the loudness settles.
    """
    ceiling_linear = 10 ** (ceiling / 20)
    gain = 10 ** ((target - speech_loudness(samples)) / 20)
    out = samples
    for _ in range(6):
        out = limit([x * gain for x in samples], ceiling_linear)
        error = target - speech_loudness(out)
        if abs(error) < 0.05:
            break
        gain *= 10 ** (error / 20)
    return out


def main():
    """Prints the committed clips' loudness spread against the target."""
    import glob
    import os
    import sys
    here = os.path.dirname(os.path.abspath(__file__))
    sys.path.insert(0, here)
    import riffwav
    root = os.path.dirname(os.path.dirname(here))
    paths = sorted(glob.glob(os.path.join(root, "resources", "clips", "*.wav")))
    paths.append(os.path.join(root, "resources", "tintal.wav"))
    levels, peaks = [], []
    for path in paths:
        pcm = riffwav.read(path)[1]
        levels.append((speech_loudness(pcm, 32768), os.path.basename(path)))
        peaks.append(dbfs(max(abs(x) for x in pcm) / 32768))
    levels.sort()
    spread = levels[-1][0] - levels[0][0]
    print("clip loudness: %d files, %.2f (%s) to %.2f (%s) dBFS, spread %.2f dB,"
          " peaks <= %.2f dBFS   (target: %.0f dBFS +-%.0f dB, peaks <= %.0f) %s"
          % (len(paths), levels[0][0], levels[0][1], levels[-1][0],
             levels[-1][1], spread, max(peaks), TARGET_DBFS, TOLERANCE_DB,
             CEILING_DBFS,
             "OK" if spread <= 2 * TOLERANCE_DB and max(peaks) <= CEILING_DBFS + 0.02
             else "MISSED"))


if __name__ == "__main__":
    main()
