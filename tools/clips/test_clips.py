"""Checks of the clip tools and of the committed clips.

Run from anywhere: python3 -m unittest discover -s tools/clips
The checks of synthesis itself need espeak-ng and are skipped without it.
"""

import math
import os
import shutil
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import glob  # noqa: E402
import subprocess  # noqa: E402

import loudness  # noqa: E402
import make_clips  # noqa: E402
import make_cuckoo  # noqa: E402
import riffwav  # noqa: E402


def manifest_lines():
    with open(make_clips.DEFAULT_MANIFEST, encoding="utf-8") as f:
        return f.readlines()


class Catalogue(unittest.TestCase):
    def test_150_distinct_capitalised_names(self):
        names = make_clips.catalogue()
        self.assertEqual(len(names), 150)
        self.assertEqual(len(set(names)), 150)
        for n in names:
            self.assertEqual(n, n.upper())
            self.assertTrue(n.startswith("SON"), n)
        for n in ("SON0", "SON60", "SON2000", "SON60_COURT", "SON51_UNE",
                  "SON_HEURES_Z", "SON_AOUT", "SON_NORD_NORD_OUEST",
                  "SON_TINTAL"):
            self.assertIn(n, names)
        self.assertNotIn("SON61", names)
        self.assertNotIn("SON85", names)


class Manifest(unittest.TestCase):
    def setUp(self):
        self.lines = manifest_lines()
        self.expected = make_clips.catalogue()

    def parse(self, lines):
        return make_clips.parse_manifest(lines, self.expected)

    def test_committed_manifest_is_complete(self):
        entries = self.parse(self.lines)
        self.assertEqual(sorted(n for n, _ in entries), sorted(self.expected))
        self.assertEqual(len(entries), 150)

    def without(self, name):
        return [l for l in self.lines if not l.startswith(name + "\t")]

    def test_refuses_a_missing_clip(self):
        with self.assertRaisesRegex(make_clips.ManifestError, "SON_VENT"):
            self.parse(self.without("SON_VENT"))

    def test_refuses_an_unknown_clip(self):
        with self.assertRaisesRegex(make_clips.ManifestError, "SON61"):
            self.parse(self.lines + ["SON61\tsoixante et un\n"])

    def test_refuses_a_duplicate(self):
        with self.assertRaisesRegex(make_clips.ManifestError, "twice"):
            self.parse(self.lines + ["SON7\tsept\n"])

    def test_refuses_lower_case_names(self):
        lines = [l.replace("SON_LUNDI\t", "son_lundi\t") for l in self.lines]
        with self.assertRaises(make_clips.ManifestError):
            self.parse(lines)

    def test_refuses_a_line_without_tab(self):
        lines = [l.replace("SON_MARDI\t", "SON_MARDI ") for l in self.lines]
        with self.assertRaisesRegex(make_clips.ManifestError, "TAB"):
            self.parse(lines)

    def test_refuses_empty_text_and_broken_phonemes(self):
        with self.assertRaisesRegex(make_clips.ManifestError, "no text"):
            self.parse(self.without("SON_ET") + ["SON_ET\t \n"])
        with self.assertRaisesRegex(make_clips.ManifestError, "unbalanced"):
            self.parse(self.without("SON_ET") + ["SON_ET\t[['e\n"])

    def test_liaison_forms_open_with_their_consonant(self):
        texts = dict(self.parse(self.lines))
        for name, consonant in make_clips.LIAISON.items():
            self.assertTrue(texts[name].startswith("[[" + consonant), name)
        self.assertFalse(texts["SON_HEURES"].startswith("[["))


class RiffLayout(unittest.TestCase):
    def test_round_trip_and_offsets(self):
        for name in ("SON1", "SON_ET", "SON_HEURES_Z"):
            pcm = [0, 1, -1, 32767, -32768, 1234]
            blob = riffwav.encode(pcm, name)
            self.assertEqual(riffwav.decode(blob), (name, pcm))
            self.assertEqual(blob[12:16], b"fmt ")
            self.assertEqual(struct.unpack_from("<I", blob, 16)[0], 18)
            self.assertEqual(struct.unpack_from("<HHIIHHH", blob, 20),
                             (1, 1, 16000, 32000, 2, 16, 0))
            self.assertEqual(blob[38:42], b"fact")
            self.assertEqual(struct.unpack_from("<II", blob, 42), (4, 6))
            self.assertEqual(blob[50:54], b"data")
            self.assertEqual(struct.unpack_from("<I", blob, 54)[0], 12)
            lst = 58 + 12
            self.assertEqual(blob[lst:lst + 4], b"LIST")
            self.assertEqual(blob[lst + 8:lst + 16], b"INFOINAM")
            nsize = struct.unpack_from("<I", blob, lst + 16)[0]
            self.assertEqual(nsize % 2, 0)
            self.assertEqual(blob[lst + 20:lst + 20 + len(name) + 1],
                             name.encode() + b"\0")
            self.assertEqual(len(blob), lst + 20 + nsize)
            self.assertEqual(struct.unpack_from("<I", blob, 4)[0],
                             len(blob) - 8)

    def corrupt(self, offset, fmt, value):
        blob = bytearray(riffwav.encode([5, -5, 7], "SON_ET"))
        struct.pack_into(fmt, blob, offset, value)
        with self.assertRaises(riffwav.WavError):
            riffwav.decode(bytes(blob))

    def test_rejects_deviations(self):
        self.corrupt(4, "<I", 1000)        # RIFF size
        self.corrupt(22, "<H", 2)          # stereo
        self.corrupt(24, "<I", 22050)      # rate
        self.corrupt(46, "<I", 4)          # fact count
        self.corrupt(50, "4s", b"junk")    # chunk order
        blob = riffwav.encode([1, 2], "SON1")
        with self.assertRaises(riffwav.WavError):
            riffwav.decode(blob + b"\0\0")
        # A 16-byte fmt chunk, though valid RIFF, is not the clip layout.
        fmt16 = (b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 1, 16000,
                 32000, 2, 16) + blob[38:])
        with self.assertRaisesRegex(riffwav.WavError, "18"):
            riffwav.decode(b"RIFF" + struct.pack("<I", len(fmt16)) + fmt16)


class Processing(unittest.TestCase):
    def tone(self, n, amp=0.5):
        return [amp * math.sin(2 * math.pi * 200 * i / 16000) for i in range(n)]

    def test_trim_keeps_margins_only(self):
        speech = self.tone(4000)
        out = make_clips.trim([0.0] * 8000 + speech + [0.0] * 8000)
        self.assertEqual(len(out), 4000 + make_clips.LEAD + make_clips.TAIL)
        self.assertEqual(out[0], 0.0)
        self.assertEqual(out[-1], 0.0)
        self.assertAlmostEqual(max(out), 0.5, places=3)

    def test_trim_refuses_to_cut_quiet_sound(self):
        # A long hiss 45 dB down is below the silence floor frame by frame,
        # but holds too much energy to be thrown away silently.
        hiss = [0.5 * 10 ** (-45 / 20) * (1 if i % 2 else -1)
                for i in range(80000)]
        with self.assertRaises(ValueError):
            make_clips.trim(self.tone(800) + hiss)

    def test_trim_refuses_silence(self):
        with self.assertRaises(ValueError):
            make_clips.trim([0.0] * 4000)

    def test_trim_with_an_absolute_floor_cuts_quiet_edges(self):
        # A soft edge 35 dB down is kept against the clip's own loudest frame
        # but cut against a floor of -38 dBFS.
        soft = self.tone(1600, 0.5 * 10 ** (-35 / 20))
        speech = soft + self.tone(4000) + soft
        self.assertGreater(len(make_clips.trim(speech)), 7000)
        cut = make_clips.trim(speech, -38.0)
        self.assertEqual(len(cut), 4000 + make_clips.LEAD + make_clips.TAIL)

    def test_to_pcm_clamps(self):
        self.assertEqual(make_clips.to_pcm([1.5, -1.5, 0.5]),
                         [32767, -32768, 16384])


class Level(unittest.TestCase):
    def tone(self, n, amp, freq=440):
        return [amp * math.sin(2 * math.pi * freq * i / 16000)
                for i in range(n)]

    def test_loudness_of_a_tone_ignores_pauses(self):
        # A full-scale sine is -3.01 dBFS RMS; silence around it is no speech.
        tone = self.tone(3200, 1.0)
        self.assertAlmostEqual(loudness.speech_loudness(tone), -3.01, delta=0.05)
        padded = [0.0] * 6400 + tone + [0.0] * 6400
        self.assertAlmostEqual(loudness.speech_loudness(padded), -3.01, delta=0.05)
        as_int = [int(x * 16384) for x in tone]
        self.assertAlmostEqual(loudness.speech_loudness(as_int, 32768), -9.03, delta=0.05)

    def test_limiter_holds_the_ceiling_and_leaves_quiet_sound(self):
        burst = self.tone(800, 0.1) + self.tone(160, 1.0) + self.tone(800, 0.1)
        out = loudness.limit(burst, 0.5)
        self.assertLessEqual(max(abs(x) for x in out), 0.5 + 1e-9)
        self.assertLess(max(abs(a - b) for a, b in zip(out[:600], burst)), 1e-12)
        self.assertLess(max(abs(a - b) for a, b in zip(out[-600:], burst[-600:])), 1e-12)
        self.assertLess(max(abs(x) for x in out[800:960]), 0.6)

    def test_normalise_reaches_the_target_under_the_ceiling(self):
        # Speech-like: a quiet body with a short loud peak.
        clip = self.tone(4000, 0.05) + self.tone(80, 0.9) + self.tone(4000, 0.05)
        out = loudness.normalise(clip, -18.0, -1.0)
        self.assertAlmostEqual(loudness.speech_loudness(out), -18.0, delta=0.1)
        self.assertLessEqual(max(abs(x) for x in out), 10 ** (-1 / 20) + 1e-9)


def committed_clips():
    return sorted(glob.glob(os.path.join(make_clips.DEFAULT_OUT, "*.wav")))


class CommittedLevels(unittest.TestCase):
    def test_speech_loudness_spread_within_one_db_of_the_target(self):
        paths = committed_clips() + [make_cuckoo.DEFAULT_OUT]
        self.assertEqual(len(paths), 151)
        levels = {}
        for path in paths:
            _, pcm = riffwav.read(path)
            levels[os.path.basename(path)] = loudness.speech_loudness(pcm, 32768)
            peak = max(abs(x) for x in pcm)
            self.assertLessEqual(20 * math.log10(peak / 32768), -0.98, path)
        off = {n: round(v, 2) for n, v in levels.items()
               if abs(v - loudness.TARGET_DBFS) > loudness.TOLERANCE_DB}
        self.assertEqual(off, {})
        self.assertLessEqual(max(levels.values()) - min(levels.values()),
                             2 * loudness.TOLERANCE_DB)

    def test_quiet_edges_are_short(self):
        # What a listener hears as pause: 2 ms frames under 1 % of the
        # loudest frame of the whole catalogue.
        clips = [riffwav.read(p)[1] for p in committed_clips()]
        frames = [[math.sqrt(sum(x * x for x in c[i:i + 32]) / 32)
                   for i in range(0, len(c) - 31, 32)] for c in clips]
        floor = 0.01 * max(max(f) for f in frames)
        for path, f in zip(committed_clips(), frames):
            loud = [x >= floor for x in f]
            lead, trail = loud.index(True), loud[::-1].index(True)
            self.assertLessEqual(max(lead, trail) * 2, 5, path)

    @unittest.skipUnless(shutil.which("sox"), "needs sox")
    def test_nothing_left_below_the_transmitter_band(self):
        def rms(path, *effect):
            out = subprocess.run(["sox", path, "-n"] + list(effect) + ["stat"],
                                 capture_output=True, text=True, check=True)
            line = [x for x in out.stderr.splitlines() if x.startswith("RMS     amp")]
            return float(line[0].split(":")[1])
        for name in ("SON26", "SON_HEURES", "SON_IL_EST", "SON_OUEST"):
            path = os.path.join(make_clips.DEFAULT_OUT, name + ".wav")
            low = rms(path, "sinc", "-150")
            self.assertLess(20 * math.log10(low / rms(path)), -30.0, name)


class CommittedClips(unittest.TestCase):
    def test_all_clips_verify(self):
        entries = make_clips.read_manifest(make_clips.DEFAULT_MANIFEST)
        rows = make_clips.verify(make_clips.DEFAULT_OUT, entries)
        self.assertEqual(len(rows), 150)

    def test_cuckoo_falls_a_minor_third(self):
        name, pcm = riffwav.read(make_cuckoo.DEFAULT_OUT)
        self.assertEqual(name, "TINTAL")
        self.assertEqual(pcm, make_cuckoo.cuckoo())
        # Find the silent gap, then compare the notes' zero-crossing rates.
        quiet = [i for i in range(len(pcm) - 160)
                 if not any(pcm[i:i + 160])]
        self.assertTrue(quiet, "no gap between the notes")
        first, second = pcm[:quiet[0]], pcm[quiet[-1] + 160:]

        def freq(x):
            crossings = sum(1 for a, b in zip(x, x[1:]) if a < 0 <= b)
            return crossings * 16000 / len(x)
        ratio = freq(first) / freq(second)
        self.assertAlmostEqual(ratio, 6 / 5, delta=0.03)
        self.assertGreater(freq(second), 450)


@unittest.skipUnless(shutil.which("espeak-ng") and shutil.which("sox"),
                     "needs espeak-ng and sox")
class Synthesis(unittest.TestCase):
    def test_liaison_phonemes(self):
        entries = make_clips.read_manifest(make_clips.DEFAULT_MANIFEST)
        spoken = make_clips.check_liaisons(entries)
        self.assertEqual(spoken["SON_HEURES_Z"], "z'Wr")

    def test_plain_text_would_miss_the_liaison(self):
        # Why the manifest needs phoneme input: alone, "heures" has no onset.
        self.assertEqual(make_clips.phonemes("heures"), "'Wr")
        self.assertEqual(make_clips.phonemes("[[t'Wr]]"), "t'Wr")
