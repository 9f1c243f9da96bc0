#!/usr/bin/env python3
"""Build the clock's 150 French speech clips from resources/clips/manifest.txt.

Each clip is synthesised with espeak-ng, resampled to 16 kHz and cleared of
everything below 200 Hz by sox, trimmed to its sound, brought to the common
speech loudness with its peaks limited (loudness.py) and written by
riffwav.py. The output is
committed, so a build of the program never needs a synthesiser.

Usage: make_clips.py [--manifest FILE] [--out DIR] [--verify-only]
"""

import argparse
import array
import math
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import loudness  # noqa: E402
import riffwav  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_MANIFEST = os.path.join(ROOT, "resources", "clips", "manifest.txt")
DEFAULT_OUT = os.path.join(ROOT, "resources", "clips")

# Voice. espeak-ng's own French voice (male); a moderate rate keeps the
# consonants distinct once a transceiver has cut the audio to 300-3000 Hz.
VOICE = "fr"
BASE_RATE = 150          # words per minute
RATE_STEP = 10           # raised by this much until a long clip fits
MAX_RATE = 250           # beyond this the words blur; fail instead
PITCH = 50
AMPLITUDE = 100

# Every clip must fit one playback buffer of the player; nothing is padded, so
# that the silence between two words is the player's alone.
MIN_DATA = 1600
MAX_DATA = 49862

# Level: one speech loudness, peaks at most at the ceiling, and nothing a
# transmitter's audio chain cannot pass.
HIGHPASS_HZ = 200
LOUDNESS_TOLERANCE_DB = 0.5   # each clip against the target, when verified
PEAK_TOLERANCE_DB = 0.02      # rounding to 16 bits

FRAME = 32               # 2 ms analysis frames for trimming
SILENCE_DB = -40.0       # frames this far below the loudest count as silence
LEAD = 16                # kept before the first sound frame (1 ms)
TAIL = 48                # kept after the last one (3 ms)
FADE_IN = LEAD           # edges are faded against clicks
FADE_OUT = TAIL
MAX_TRIMMED_ENERGY = 2e-3
# Once at the common loudness, edges quieter than this (in 2 ms frames) are
# cut too: a listener hears them as part of the pause between two words.
EDGE_FLOOR_DBFS = -38.0

# Which consonant each liaison form of "heures" must open with.
LIAISON = {"SON_HEURES_K": "k", "SON_HEURES_N": "n", "SON_HEURES_T": "t",
           "SON_HEURES_V": "v", "SON_HEURES_Z": "z"}


def catalogue():
    """The 150 clip names the program looks up, in catalogue order."""
    names = ["SON%d" % n for n in range(61)]
    names += ["SON%d" % n for n in (70, 80, 90, 100, 900, 1000, 2000)]
    names += ["SON60_COURT", "SON1_ET", "SON11_ET", "SON1_PREMIER", "SON1_UNE",
              "SON21_UNE", "SON31_UNE", "SON41_UNE", "SON51_UNE"]
    names += ["SON_IL_EST", "SON_MINUTES", "SON_HEURES"] + sorted(LIAISON)
    words = [
        "DIMANCHE LUNDI MARDI MERCREDI JEUDI VENDREDI SAMEDI",
        "JANVIER FEVRIER MARS AVRIL MAI JUIN JUILLET AOUT SEPTEMBRE OCTOBRE"
        " NOVEMBRE DECEMBRE",
        "TEMP_INT TEMP_EXT TEMPERATURE_RESSENTIE PRESSION_ATMOS VENT RAFALE"
        " SECTEUR PLUIE HUMIDITE",
        "MOINS DEGRES HECTOPASCAL KMH MILLIMETRE POURCENT NULLE",
        "STATIONNAIRE EN_HAUSSE EN_BAISSE",
        "NORD NORD_NORD_EST NORD_EST EST_NORD_EST EST EST_SUD_EST SUD_EST"
        " SUD_SUD_EST SUD SUD_SUD_OUEST SUD_OUEST OUEST_SUD_OUEST OUEST"
        " OUEST_NORD_OUEST NORD_OUEST NORD_NORD_OUEST VARIABLE",
        "PLUIE_NOW NEIGE GRELE BRUME BROUILLARD FAIBLE FORTE MODEREE",
        "ET TINTAL",
    ]
    for group in words:
        names += ["SON_" + w for w in group.split()]
    return names


class ManifestError(ValueError):
    pass


def parse_manifest(lines, expected):
    """Return [(name, text)] in manifest order; refuse anything but exactly
    one entry for each expected name."""
    entries = []
    seen = set()
    wanted = set(expected)
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line.strip() or line.startswith("#"):
            continue
        if "\t" not in line:
            raise ManifestError("line %d: no TAB between name and text" % number)
        name, text = line.split("\t", 1)
        text = text.strip()
        if name not in wanted:
            raise ManifestError("line %d: %r is not a catalogue clip name"
                                % (number, name))
        if name in seen:
            raise ManifestError("line %d: %s listed twice" % (number, name))
        if not text:
            raise ManifestError("line %d: %s has no text" % (number, name))
        if text.startswith("[[") != text.endswith("]]"):
            raise ManifestError("line %d: unbalanced [[phonemes]]" % number)
        seen.add(name)
        entries.append((name, text))
    missing = [n for n in expected if n not in seen]
    if missing:
        raise ManifestError("missing %d clip(s): %s"
                            % (len(missing), " ".join(missing)))
    if len(entries) != len(expected):
        raise ManifestError("%d entries, expected %d"
                            % (len(entries), len(expected)))
    return entries


def read_manifest(path):
    with open(path, encoding="utf-8") as f:
        return parse_manifest(f.readlines(), catalogue())


def espeak_args(rate):
    # -b 1: the input is UTF-8 whatever the locale of the machine.
    return ["espeak-ng", "-v", VOICE, "-s", str(rate), "-p", str(PITCH),
            "-a", str(AMPLITUDE), "-b", "1"]


def phonemes(text):
    """The phoneme string espeak-ng speaks for a manifest text."""
    out = subprocess.run(espeak_args(BASE_RATE) + ["-q", "-x", "--stdin"],
                         input=text.encode("utf-8"), capture_output=True,
                         check=True)
    return " ".join(out.stdout.decode("utf-8").split())


def synthesise(text, rate, tmp):
    """Speak text and return float samples at 16 kHz."""
    wav = os.path.join(tmp, "voice.wav")
    raw = os.path.join(tmp, "voice.f32")
    subprocess.run(espeak_args(rate) + ["-w", wav, "--stdin"],
                   input=text.encode("utf-8"), check=True)
    # Float output: sox applies no dither, so the result is repeatable and
    # quantisation happens once, after normalising.
    subprocess.run(["sox", "-V1", wav, "-t", "raw", "-e", "floating-point",
                    "-b", "32", "-L", "-c", "1", raw, "rate", "-v",
                    str(riffwav.RATE), "sinc", str(HIGHPASS_HZ)], check=True)
    samples = array.array("f")
    with open(raw, "rb") as f:
        samples.frombytes(f.read())
    if sys.byteorder == "big":
        samples.byteswap()
    return list(samples)


def trim(samples, floor_dbfs=None):
    """Cut leading and trailing silence, keeping short margins with fades.

    Silence is below SILENCE_DB under the loudest frame, or below floor_dbfs
    when given."""
    frames = [math.sqrt(sum(x * x for x in samples[i:i + FRAME]) / FRAME)
              for i in range(0, len(samples) - FRAME + 1, FRAME)]
    if not frames or max(frames) == 0.0:
        raise ValueError("no sound")
    if floor_dbfs is None:
        floor = max(frames) * 10 ** (SILENCE_DB / 20)
    else:
        floor = 10 ** (floor_dbfs / 20)
    loud = [i for i, r in enumerate(frames) if r > floor]
    start = max(0, loud[0] * FRAME - LEAD)
    end = min(len(samples), (loud[-1] + 1) * FRAME + TAIL)
    out = samples[start:end]
    # What is cut away must be silence: guard against a threshold that eats
    # a soft consonant at either end.
    total = sum(x * x for x in samples)
    lost = total - sum(x * x for x in out)
    if lost > MAX_TRIMMED_ENERGY * total:
        raise ValueError("trimming would drop %.3f %% of the energy"
                         % (100 * lost / total))
    for i in range(min(FADE_IN, len(out))):
        out[i] *= 0.5 - 0.5 * math.cos(math.pi * i / FADE_IN)
    for i in range(min(FADE_OUT, len(out))):
        out[-1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / FADE_OUT)
    return out


def to_pcm(samples):
    return [max(-32768, min(32767, int(round(x * 32767))))
            for x in samples]


def render(name, text, tmp):
    """Return (rate, trimmed float samples) of the slowest rate that fits."""
    rate = BASE_RATE
    while True:
        speech = trim(synthesise(text, rate, tmp))
        if len(speech) * riffwav.BLOCK_ALIGN <= MAX_DATA:
            return rate, speech
        if rate + RATE_STEP > MAX_RATE:
            raise RuntimeError("%s: %.2f s even at %d wpm"
                               % (name, len(speech) / riffwav.RATE, rate))
        rate += RATE_STEP


def dbfs(value):
    return 20 * math.log10(value / 32768) if value > 0 else float("-inf")


def measure(pcm):
    """(peak, speech loudness) in dBFS."""
    peak = max((abs(x) for x in pcm), default=0)
    return dbfs(peak), loudness.speech_loudness(pcm, 32768)


def verify(out, entries):
    """Parse every clip back and check layout, name, length and level.

    Returns the table rows; raises RuntimeError listing every fault.
    """
    faults = []
    rows = []
    for name, text in entries:
        path = os.path.join(out, name + ".wav")
        try:
            inam, pcm = riffwav.read(path)
        except (OSError, riffwav.WavError) as e:
            faults.append("%s: %s" % (name, e))
            continue
        size = len(pcm) * riffwav.BLOCK_ALIGN
        peak, rms = measure(pcm)
        if inam != name:
            faults.append("%s: INAM says %r" % (name, inam))
        if not MIN_DATA <= size <= MAX_DATA:
            faults.append("%s: %d data bytes outside %d..%d"
                          % (name, size, MIN_DATA, MAX_DATA))
        if peak > loudness.CEILING_DBFS + PEAK_TOLERANCE_DB:
            faults.append("%s: peak %.2f dBFS, above %.1f"
                          % (name, peak, loudness.CEILING_DBFS))
        if abs(rms - loudness.TARGET_DBFS) > LOUDNESS_TOLERANCE_DB:
            faults.append("%s: speech loudness %.2f dBFS, target %.1f"
                          % (name, rms, loudness.TARGET_DBFS))
        rows.append((name, size, len(pcm) / riffwav.RATE, peak, rms, text))
    stray = sorted(f for f in os.listdir(out) if f.lower().endswith(".wav")
                   and f[:-4] not in {n for n, _ in entries})
    if stray:
        faults.append("files not in the catalogue: " + " ".join(stray))
    if len(rows) != len(catalogue()):
        faults.append("%d clips verified, expected %d"
                      % (len(rows), len(catalogue())))
    if faults:
        raise RuntimeError("\n".join(faults))
    return rows


def check_liaisons(entries):
    """The liaison forms must start with their consonant, the plain form
    with the vowel; return the phoneme strings of all clips."""
    spoken = {name: phonemes(text) for name, text in entries}
    faults = []
    for name, consonant in LIAISON.items():
        if not spoken[name].startswith(consonant):
            faults.append("%s starts with %r, not %r"
                          % (name, spoken[name], consonant))
    if not spoken["SON_HEURES"].lstrip("'").startswith("W"):
        faults.append("SON_HEURES starts with %r, not the vowel"
                      % spoken["SON_HEURES"])
    if faults:
        raise RuntimeError("\n".join(faults))
    return spoken


def tool_versions():
    out = []
    for cmd in (["espeak-ng", "--version"], ["sox", "--version"]):
        res = subprocess.run(cmd, capture_output=True, text=True, check=True)
        out.append(res.stdout.strip().splitlines()[0])
    return out


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--manifest", default=DEFAULT_MANIFEST)
    ap.add_argument("--out", default=DEFAULT_OUT)
    ap.add_argument("--verify-only", action="store_true",
                    help="check the existing clips without synthesising")
    args = ap.parse_args()

    try:
        entries = read_manifest(args.manifest)
    except ManifestError as e:
        sys.exit("manifest %s: %s" % (args.manifest, e))

    rates = {}
    if not args.verify_only:
        for line in tool_versions():
            print("#", line)
        spoken = check_liaisons(entries)
        rendered = {}
        with tempfile.TemporaryDirectory() as tmp:
            for name, text in entries:
                rates[name], rendered[name] = render(name, text, tmp)
        for name, speech in rendered.items():
            riffwav.write(os.path.join(args.out, name + ".wav"),
                          to_pcm(trim(loudness.normalise(speech),
                                      EDGE_FLOOR_DBFS)), name)
    else:
        spoken = {}

    try:
        rows = verify(args.out, entries)
    except RuntimeError as e:
        sys.exit("verification failed:\n%s" % e)

    print("%-26s %4s %6s %6s %7s %7s  %s" % ("name", "wpm", "bytes", "sec",
                                            "peak", "loud", "text / phonemes"))
    for name, size, sec, peak, rms, text in rows:
        said = spoken.get(name)
        shown = text if said is None else "%s  /%s/" % (text, said)
        print("%-26s %4s %6d %6.3f %7.2f %7.2f  %s"
              % (name, rates.get(name, "-"), size, sec, peak, rms, shown))
    sizes = [r[1] for r in rows]
    total = sum(os.path.getsize(os.path.join(args.out, n + ".wav"))
                for n, _ in entries)
    print("# %d clips, data %d..%d bytes, %d bytes of files"
          % (len(rows), min(sizes), max(sizes), total))


if __name__ == "__main__":
    main()
