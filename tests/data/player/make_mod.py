#!/usr/bin/env python3
"""Writes tone.mod: a tiny four-channel module of three orders (patterns 0, 1, 0).

Each pattern sets speed 3 on its first row and breaks to the next order on
row 15, so an order lasts 16 rows x 3 ticks x 20 ms = 0.96 s and the whole
module about 2.9 s.  The one sample is a 32-byte looped sine.
"""
import math
import struct
import sys

ORDERS = [0, 1, 0]
PERIODS = [214, 170]  # C-3 and E-3 (Amiga periods)


def sample_header(name, length_words, volume, loop_start, loop_words):
    return struct.pack(">22sHBBHH", name.encode("ascii"), length_words, 0, volume,
                       loop_start, loop_words)


def cell(sample, period, effect, param):
    return bytes([(sample & 0xF0) | (period >> 8), period & 0xFF,
                  ((sample & 0x0F) << 4) | effect, param])


def pattern(period):
    rows = []
    for row in range(64):
        cells = [bytes(4)] * 4
        if row == 0:
            cells[0] = cell(1, period, 0xF, 3)  # note with speed 3
        if row == 15:
            cells[1] = cell(0, 0, 0xD, 0)  # pattern break to the next order
        rows.append(b"".join(cells))
    return b"".join(rows)


def module():
    wave = bytes((int(round(100 * math.sin(2 * math.pi * i / 32))) & 0xFF) for i in range(32))
    data = b"mavelo test tone".ljust(20, b"\0")
    data += sample_header("sine", len(wave) // 2, 64, 0, len(wave) // 2)
    data += b"".join(sample_header("", 0, 0, 0, 1) for _ in range(30))
    data += bytes([len(ORDERS), 127]) + bytes(ORDERS).ljust(128, b"\0") + b"M.K."
    data += b"".join(pattern(p) for p in PERIODS)
    return data + wave


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "tone.mod", "wb") as f:
        f.write(module())
