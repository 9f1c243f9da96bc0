"""RIFF/WAVE writer and strict reader for the clock's sound clips.

The layout is fixed so that every file the clock carries looks alike:
  "RIFF" size "WAVE"
  "fmt "  18 bytes: PCM, mono, 16000 Hz, 32000 B/s, block 2, 16 bits, cbSize 0
  "fact"  4 bytes: number of samples
  "data"  16-bit little-endian samples
  "LIST" "INFO" "INAM" clip name, NUL-terminated
The bytes are assembled here rather than by sox so that the layout does not
depend on the version of an external tool.
"""

import struct

RATE = 16000
CHANNELS = 1
BITS = 16
BLOCK_ALIGN = CHANNELS * BITS // 8
BYTE_RATE = RATE * BLOCK_ALIGN


class WavError(ValueError):
    pass


def _chunk(tag, payload):
    if len(payload) % 2:
        payload += b"\0"
    return tag + struct.pack("<I", len(payload)) + payload


def _zstring(text):
    # NUL-terminated and then NUL-padded to an even length, so the sub-chunk
    # size is even and readers that ignore the RIFF pad rule still agree.
    raw = text.encode("ascii") + b"\0"
    if len(raw) % 2:
        raw += b"\0"
    return raw


def encode(samples, name):
    """Return the bytes of a clip holding the given int16 samples."""
    data = struct.pack("<%dh" % len(samples), *samples)
    fmt = struct.pack("<HHIIHHH", 1, CHANNELS, RATE, BYTE_RATE,
                      BLOCK_ALIGN, BITS, 0)
    fact = struct.pack("<I", len(samples))
    info = b"INFO" + _chunk(b"INAM", _zstring(name))
    body = (b"WAVE" + _chunk(b"fmt ", fmt) + _chunk(b"fact", fact)
            + _chunk(b"data", data) + _chunk(b"LIST", info))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write(path, samples, name):
    with open(path, "wb") as f:
        f.write(encode(samples, name))


def decode(blob):
    """Parse a clip and check it has exactly the layout written by encode().

    Returns (name, samples). Raises WavError on any deviation.
    """
    def need(cond, what):
        if not cond:
            raise WavError(what)

    need(len(blob) >= 12 and blob[:4] == b"RIFF" and blob[8:12] == b"WAVE",
         "not a RIFF/WAVE file")
    need(struct.unpack_from("<I", blob, 4)[0] == len(blob) - 8,
         "RIFF size does not match file size")
    chunks = []
    pos = 12
    while pos < len(blob):
        need(pos + 8 <= len(blob), "truncated chunk header")
        tag = blob[pos:pos + 4]
        size = struct.unpack_from("<I", blob, pos + 4)[0]
        start = pos + 8
        need(start + size <= len(blob), "chunk %r runs past the end" % tag)
        chunks.append((tag, blob[start:start + size]))
        pos = start + size + (size & 1)
    need(pos == len(blob), "trailing bytes after the last chunk")
    tags = [t for t, _ in chunks]
    need(tags == [b"fmt ", b"fact", b"data", b"LIST"],
         "chunk order is %r" % tags)
    fmt, fact, data, lst = (c for _, c in chunks)

    need(len(fmt) == 18, "fmt chunk is %d bytes, not 18" % len(fmt))
    tag, ch, rate, brate, align, bits, extra = struct.unpack("<HHIIHHH", fmt)
    need((tag, ch, rate, brate, align, bits, extra)
         == (1, CHANNELS, RATE, BYTE_RATE, BLOCK_ALIGN, BITS, 0),
         "fmt fields %r" % ((tag, ch, rate, brate, align, bits, extra),))
    need(len(data) % BLOCK_ALIGN == 0, "data length is odd")
    count = len(data) // BLOCK_ALIGN
    need(len(fact) == 4 and struct.unpack("<I", fact)[0] == count,
         "fact sample count does not match data")

    need(lst[:4] == b"INFO", "LIST is not INFO")
    need(len(lst) >= 12 and lst[4:8] == b"INAM", "INFO lacks INAM")
    nsize = struct.unpack_from("<I", lst, 8)[0]
    need(12 + nsize == len(lst), "INAM is not the only INFO entry")
    raw = lst[12:12 + nsize]
    need(nsize % 2 == 0 and raw.endswith(b"\0") and b"\0" in raw,
         "INAM not NUL-terminated to an even size")
    name = raw.split(b"\0", 1)[0].decode("ascii")
    need(raw == _zstring(name), "INAM padding is not NULs")
    samples = list(struct.unpack("<%dh" % count, data))
    return name, samples


def read(path):
    with open(path, "rb") as f:
        return decode(f.read())
