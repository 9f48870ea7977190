#!/usr/bin/env python3
"""Draws the program icon (resource 128): a page being cut into strips on a rounded blue tile.
The output, Program.ico beside Program.rc, is committed, so a build never runs this; run it
again after changing the picture:

    python3 resources/generators/make_program_icon.py

The icon holds 16, 20, 24, 32, 40, 48 and 64 pixel images as 32-bit DIBs (every Windows version
reads those) and a 256 pixel image as PNG (Explorer's large views), all drawn from one vector
description with 4 x 4 supersampling, so edges stay smooth at every size. The small sizes are the
title bar's at 100 %, 125 %, 150 % and 200 % display scales (16, 20, 24, 32), the larger ones the
About box's and Alt+Tab's at the same scales (32, 40, 48, 64): Windows never has to stretch one.
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(os.path.dirname(HERE), "Program.ico")

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
SAMPLES = 4

TILE_TOP = (58, 134, 232)
TILE_BOTTOM = (24, 70, 160)
PAGE = (255, 255, 255)
FOLD = (200, 216, 238)
LINES = (150, 172, 205)
SLOT = (16, 40, 96)


def rounded_box(x, y, x0, y0, x1, y1, radius):
    """Whether (x, y) lies in the box with rounded corners."""
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + radius), x1 - radius)
    cy = min(max(y, y0 + radius), y1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y):
    """The picture on a unit square (0..1 both ways, y downwards); None where it is clear."""
    if not rounded_box(x, y, 0.04, 0.04, 0.96, 0.96, 0.18):
        return None
    # The slot of the shredder: a dark bar across the tile.
    if 0.60 <= y <= 0.66 and 0.12 <= x <= 0.88:
        return SLOT
    page_left, page_right, page_top, fold = 0.26, 0.74, 0.14, 0.14
    if page_left <= x <= page_right and page_top <= y <= 0.60:
        # The folded corner at the top right.
        if x - (page_right - fold) + (page_top + fold) - y > fold:
            return tile(y)
        if x > page_right - fold and y < page_top + fold:
            return FOLD
        # Three text lines on the page.
        for line_top in (0.32, 0.41, 0.50):
            if line_top <= y <= line_top + 0.035 and page_left + 0.07 <= x <= page_right - 0.07:
                return LINES
        return PAGE
    # The strips coming out below the slot, ragged at their ends.
    if 0.66 < y <= 0.90 and page_left <= x <= page_right:
        strip_width = (page_right - page_left) / 5
        position = (x - page_left) / strip_width
        index = int(min(position, 4.999))
        within = position - index
        ends = (0.86, 0.80, 0.90, 0.78, 0.84)
        if 0.12 <= within <= 0.88 and y <= ends[index]:
            return PAGE
    return tile(y)


def tile(y):
    t = min(max((y - 0.04) / 0.92, 0.0), 1.0)
    return tuple(round(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM))


def render(size):
    """Rows of (r, g, b, a), top row first, colours premultiplied nowhere (straight alpha)."""
    rows = []
    step = 1.0 / (size * SAMPLES)
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px * SAMPLES + sx + 0.5) * step
                    y = (py * SAMPLES + sy + 0.5) * step
                    colour = colour_at(x, y)
                    if colour is None:
                        continue
                    covered += 1
                    for i in range(3):
                        total[i] += colour[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * covered / (SAMPLES * SAMPLES))
                row.append(tuple(round(c / covered) for c in total) + (alpha,))
        rows.append(row)
    return rows


def dib_image(rows):
    """A 32-bit BGRA DIB with its AND mask, as an icon directory entry holds it."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def png_image(rows):
    size = len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def main():
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png_image(rows) if size == 256 else dib_image(rows)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size, image in images:
        dimension = 0 if size == 256 else size
        directory += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
        data += image
    with open(OUTPUT, "wb") as out:
        out.write(directory + data)


if __name__ == "__main__":
    main()
