#!/usr/bin/env python3
"""Makes the start-up chime: a short rising arpeggio of soft bell tones.

Usage: make_sound.py OUTPUT.wav

22,050 samples a second, 16-bit mono, 0.8 seconds.
"""
import math
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.8
# Start time (s), frequency (Hz), loudness: C6, E6, G6, C7.
NOTES = [(0.00, 1046.5, 0.30), (0.09, 1318.5, 0.26), (0.18, 1568.0, 0.24), (0.27, 2093.0, 0.20)]


def sample(t):
    value = 0.0
    for start, freq, level in NOTES:
        if t < start:
            continue
        age = t - start
        attack = min(age / 0.004, 1.0)
        decay = math.exp(-age * 6.0)
        tone = math.sin(2 * math.pi * freq * age) + 0.25 * math.sin(2 * math.pi * 2.76 * freq * age) * math.exp(-age * 12.0)
        value += level * attack * decay * tone
    fade = min((LENGTH - t) / 0.05, 1.0)
    return value * max(fade, 0.0)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_sound.py OUTPUT.wav")
    frames = bytearray()
    for n in range(int(RATE * LENGTH)):
        v = max(-1.0, min(1.0, sample(n / RATE)))
        frames += struct.pack("<h", int(v * 32000))
    with wave.open(sys.argv[1], "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
