#!/usr/bin/env python3
"""Make data/piko1.wav, the "piko" sound played when the hammer hits a mole.

The sound is two quick sine blips (a lower one, then a higher one) that die
away fast, which gives the squeaky toy-hammer "pi-ko".  A little second
harmonic makes it brighter.  No randomness is used, so the output is always
byte-for-byte the same.

Format: RIFF/WAVE, PCM, 16-bit, mono, 22050 Hz, about 0.2 s.

Rerun from the repository root:
    python3 tools/make_piko_wav.py
"""

import math
import os
import struct

RATE = 22050
OUT_PATH = os.path.join("data", "piko1.wav")

# (start time s, length s, start pitch Hz, end pitch Hz, peak level 0..1)
BLIPS = [
    (0.000, 0.070, 1900.0, 1750.0, 0.55),  # "pi"
    (0.055, 0.145, 2650.0, 2450.0, 0.65),  # "ko"
]
TOTAL_SECONDS = 0.200
ATTACK_SECONDS = 0.002  # short ramp so the blip starts without a click


def blip_samples(length, f_start, f_end, level):
    """One blip: a falling-pitch sine plus a quieter octave, exponential decay."""
    n = int(length * RATE)
    attack = int(ATTACK_SECONDS * RATE)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / n
        freq = f_start + (f_end - f_start) * t
        phase += 2.0 * math.pi * freq / RATE
        # Decay to about 1% by the end of the blip; then fade the last few
        # samples to exactly zero so the tail does not click either.
        env = math.exp(-4.6 * t)
        if i < attack:
            env *= i / attack
        if n - i < attack:
            env *= (n - i) / attack
        tone = math.sin(phase) + 0.3 * math.sin(2.0 * phase)
        out.append(level * env * tone / 1.3)
    return out


def build_samples():
    mix = [0.0] * int(TOTAL_SECONDS * RATE)
    for start, length, f0, f1, level in BLIPS:
        offset = int(start * RATE)
        for i, v in enumerate(blip_samples(length, f0, f1, level)):
            if offset + i < len(mix):
                mix[offset + i] += v
    peak = max(abs(v) for v in mix)
    assert peak <= 1.0, "mix would clip"
    return [int(round(v * 32767)) for v in mix]


def wav_bytes(samples):
    data = struct.pack("<%dh" % len(samples), *samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)  # PCM mono 16-bit
    body = (b"WAVE"
            + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(data)) + data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    samples = build_samples()
    blob = wav_bytes(samples)
    assert len(blob) == 44 + 2 * len(samples)
    assert len(samples) / RATE < 0.3
    assert len(blob) < 12 * 1024
    os.makedirs(os.path.dirname(OUT_PATH), exist_ok=True)
    with open(OUT_PATH, "wb") as f:
        f.write(blob)
    print("%s: %d bytes (%d samples, %.3f s)"
          % (OUT_PATH, len(blob), len(samples), len(samples) / RATE))


if __name__ == "__main__":
    main()
