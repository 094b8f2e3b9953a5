#!/usr/bin/env python3
"""Draws data/brak.bmp, the picture shown for a vehicle or machine without a photograph:
a grey camera crossed out in red on a light background, 120x90, 24-bit BMP."""
import os
import struct

W, H = 120, 90
BG, FRAME, CAMERA, LENS, CROSS = (236, 236, 236), (150, 150, 150), (110, 110, 110), (200, 200, 200), (200, 30, 30)
px = [[BG for _ in range(W)] for _ in range(H)]


def put(x, y, c):
    if 0 <= x < W and 0 <= y < H:
        px[y][x] = c


for x in range(W):
    for t in (0, 1):
        put(x, t, FRAME)
        put(x, H - 1 - t, FRAME)
for y in range(H):
    for t in (0, 1):
        put(t, y, FRAME)
        put(W - 1 - t, y, FRAME)
# Camera body, viewfinder and lens.
for y in range(32, 68):
    for x in range(32, 88):
        put(x, y, CAMERA)
for y in range(26, 32):
    for x in range(48, 66):
        put(x, y, CAMERA)
for y in range(32, 68):
    for x in range(32, 88):
        d = (x - 60) ** 2 + (y - 50) ** 2
        if d <= 13 ** 2:
            put(x, y, LENS if d > 7 ** 2 else CAMERA)
# The red stroke across it.
for i in range(-2, 3):
    for x in range(24, 96):
        y = 20 + (x - 24) * 50 // 72
        put(x, y + i, CROSS)

row = (W * 3 + 3) & ~3
data = b"".join(bytes(c for p in reversed_row for c in (p[2], p[1], p[0])) + b"\0" * (row - W * 3)
                for reversed_row in reversed(px))
header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "brak.bmp")
with open(out, "wb") as f:
    f.write(header + info + data)
