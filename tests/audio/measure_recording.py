#!/usr/bin/env python3
"""Measures sound recorded back from a sound server (raw signed 16-bit little-endian mono).

  measure_recording.py compare REC.raw RATE CLIP.wav   the recording holds the clip: same length of
                                                        sound (within 20 ms) and level (within 1 dB)
  measure_recording.py gaps REC.raw RATE CLIP.wav...    prints the silences between the clips, played in
                                                        that order, and what playback added to them

Sound is where a 2 ms frame's RMS reaches 1% of the loudest frame's; silence is everything else.
"""
import math
import struct
import sys

FRAME_MS = 2


def frames_rms(samples, rate):
    size = max(1, rate * FRAME_MS // 1000)
    out = []
    for i in range(0, len(samples) - size + 1, size):
        chunk = samples[i:i + size]
        out.append(math.sqrt(sum(x * x for x in chunk) / size))
    return out


def sound_span(samples, rate):
    """(first, last) loud frame indexes, the loud mask and the frames' RMS."""
    rms = frames_rms(samples, rate)
    if not rms or max(rms) == 0:
        raise SystemExit("no sound at all")
    threshold = max(rms) * 0.01
    loud = [r >= threshold for r in rms]
    first = loud.index(True)
    last = len(loud) - 1 - loud[::-1].index(True)
    return first, last, loud, rms


def span_level_db(rms, first, last):
    energy = sum(r * r for r in rms[first:last + 1]) / (last - first + 1)
    return 10 * math.log10(energy)


def read_raw(path):
    data = open(path, 'rb').read()
    data = data[:len(data) // 2 * 2]
    return list(struct.unpack('<%dh' % (len(data) // 2), data))


def read_wav_mono16(path):
    data = open(path, 'rb').read()
    if data[:4] != b'RIFF' or data[8:12] != b'WAVE':
        raise SystemExit(path + ": not a WAVE file")
    pos, rate, pcm = 12, None, None
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack('<I', data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        if cid == b'fmt ':
            tag, channels, rate, _, _, bits = struct.unpack('<HHIIHH', body[:16])
            if (tag, channels, bits) != (1, 1, 16):
                raise SystemExit(path + ": not 16-bit mono PCM")
        elif cid == b'data':
            pcm = body
        pos += 8 + size
    if rate is None or pcm is None:
        raise SystemExit(path + ": no format or no data")
    return list(struct.unpack('<%dh' % (len(pcm) // 2), pcm[:len(pcm) // 2 * 2])), rate


def compare(rec_path, rate, clip_path):
    rec = read_raw(rec_path)
    clip, clip_rate = read_wav_mono16(clip_path)
    rf, rl, _, rrms = sound_span(rec, rate)
    cf, cl, _, crms = sound_span(clip, clip_rate)
    rec_ms, clip_ms = (rl - rf + 1) * FRAME_MS, (cl - cf + 1) * FRAME_MS
    level = span_level_db(rrms, rf, rl) - span_level_db(crms, cf, cl)
    print("clip %s: %d ms of sound; recorded: %d ms, level %+.2f dB" % (clip_path, clip_ms, rec_ms, level))
    ok = abs(rec_ms - clip_ms) <= 20 and abs(level) <= 1.0
    print("match" if ok else "MISMATCH")
    return 0 if ok else 1


def edge_quiet_ms(clip_paths):
    """Each clip's own quiet (leading, trailing) in ms, measured against the loudest of them all."""
    clips = [read_wav_mono16(p) for p in clip_paths]
    rms = [frames_rms(samples, rate) for samples, rate in clips]
    threshold = max(max(r) for r in rms) * 0.01
    edges = []
    for r in rms:
        loud = [x >= threshold for x in r]
        lead = loud.index(True) if True in loud else len(loud)
        trail = loud[::-1].index(True) if True in loud else len(loud)
        edges.append((lead * FRAME_MS, trail * FRAME_MS))
    return edges


def gaps(rec_path, rate, clip_paths):
    clips = len(clip_paths)
    first, last, loud, _ = sound_span(read_raw(rec_path), rate)
    runs, start = [], None
    for i in range(first, last + 1):
        if not loud[i] and start is None:
            start = i
        elif loud[i] and start is not None:
            runs.append((i - start) * FRAME_MS)
            start = None
    # A word may hold short pauses of its own: the clips' boundaries are the longest silences, in order.
    longest = sorted(range(len(runs)), key=lambda i: runs[i], reverse=True)[:clips - 1]
    if len(longest) < clips - 1:
        raise SystemExit("found %d silences, expected %d" % (len(longest), clips - 1))
    heard = [runs[i] for i in sorted(longest)]
    edges = edge_quiet_ms(clip_paths)
    added = sorted(h - edges[i][1] - edges[i + 1][0] for i, h in enumerate(heard))
    print("silences heard between %d clips (ms): %s" % (clips, " ".join(str(g) for g in heard)))
    print("added by playback, without the clips' own quiet edges: min %d  median %d  max %d ms"
          % (added[0], added[len(added) // 2], added[-1]))
    ordered = sorted(heard)
    median = ordered[len(ordered) // 2]
    print("heard gap: min %d  median %d  max %d ms   (target: 50 +-10 ms) %s"
          % (ordered[0], median, ordered[-1], "OK" if 40 <= median <= 60 else "MISSED"))
    return 0


def main(argv):
    if len(argv) == 5 and argv[1] == 'compare':
        return compare(argv[2], int(argv[3]), argv[4])
    if len(argv) >= 6 and argv[1] == 'gaps':
        return gaps(argv[2], int(argv[3]), argv[4:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv))
