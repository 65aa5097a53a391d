#!/usr/bin/env python3
"""Draws the question page's images (tool-bar icons and the page background) as small PNGs.

Usage: scripts/make-page-images.py [output directory, default resources/]
The images are committed; run this only to change them.
"""
import math
import os
import struct
import sys
import zlib

SIZE = 32


def png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        f.write(chunk(b"IEND", b""))


CLEAR = (0, 0, 0, 0)


def icon(shape, colour):
    def pixel(x, y):
        return colour if shape(x + 0.5, y + 0.5) else CLEAR
    return pixel


def paper(x, y):
    # A sheet with three text lines and a folded corner.
    inside = 7 <= x <= 25 and 4 <= y <= 28 and not (x > 19 and y < 4 + (x - 19))
    lines = 10 <= x <= 22 and any(abs(y - ly) < 1 for ly in (12, 17, 22))
    return (inside and not lines) or (abs(x - 19) < 1 and 4 <= y <= 10) or (abs(y - 10) < 1 and 19 <= x <= 25)


def warning(x, y):
    # An exclamation mark in a ring.
    r = math.hypot(x - 16, y - 16)
    return 11 <= r <= 14 or (abs(x - 16) < 1.6 and 8 <= y <= 19) or math.hypot(x - 16, y - 23) < 2


def note(x, y):
    # A pencil across a line.
    d = abs((x - y) / math.sqrt(2))
    along = (x + y) / math.sqrt(2)
    return (d < 2.5 and 12 < along < 38) or (abs(y - 28) < 1 and 4 <= x <= 28)


def star(x, y):
    angle = math.atan2(y - 16.5, x - 16)
    r = math.hypot(x - 16, y - 16.5)
    k = (angle + math.pi / 2) % (2 * math.pi / 5) - math.pi / 5
    outer, inner = 14, 6
    limit = inner + (outer - inner) * (1 - abs(k) / (math.pi / 5)) ** 2
    return r <= limit


def background(x, y):
    # A faint diagonal weave, barely visible behind text.
    v = 246 + int(4 * math.sin((x + y) / 4.0) * math.cos((x - y) / 6.0))
    return (v, v, min(255, v + 2), 255)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
    blue = (42, 170, 226, 255)
    png(os.path.join(out, "sumitpaper.png"), SIZE, SIZE, icon(paper, blue))
    png(os.path.join(out, "writeerror.png"), SIZE, SIZE, icon(warning, (230, 120, 30, 255)))
    png(os.path.join(out, "writenote.png"), SIZE, SIZE, icon(note, blue))
    png(os.path.join(out, "favorite.png"), SIZE, SIZE, icon(star, (245, 180, 20, 255)))
    png(os.path.join(out, "bg_subject.png"), 64, 64, background)


if __name__ == "__main__":
    main()
