#!/usr/bin/env python3
"""Synthesises the program's three short sounds into data/: notify.wav (a finished job: two rising
tones), mail.wav (a warning: two short beeps) and test.wav (a refused addition: a low buzz).
16-bit mono PCM at 22050 Hz, each well under a second."""
import math
import os
import struct
import wave

RATE = 22050


def tone(freq, seconds, volume=0.5, harmonics=(1.0,)):
    n = int(RATE * seconds)
    out = []
    for i in range(n):
        t = i / RATE
        # A quick attack and a smooth decay, so that no tone starts or stops with a click.
        envelope = min(1.0, i / (0.005 * RATE)) * math.exp(-3.0 * t / seconds)
        s = sum(a * math.sin(2 * math.pi * freq * (k + 1) * t) for k, a in enumerate(harmonics))
        out.append(volume * envelope * s / sum(harmonics))
    return out


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def write(name, samples):
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", name)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples))


write("notify.wav", tone(660, 0.18) + tone(880, 0.30))
write("mail.wav", tone(1000, 0.09, 0.45) + silence(0.06) + tone(1000, 0.09, 0.45))
write("test.wav", tone(150, 0.35, 0.5, harmonics=(1.0, 0.6, 0.4, 0.3)))
