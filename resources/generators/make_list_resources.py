#!/usr/bin/env python3
"""Draws the list control's artwork: the image strip at 16, 24 and 32 pixels (resources 1010, 1011
and 1012, for 100 %, 150 % and 200 % display scales) and the column divider and hand cursors (203,
204). The outputs are committed beside ListResources.rc, so a build never runs this; run it again
after changing a picture:

    python3 resources/generators/make_list_resources.py

Each strip holds thirteen square images, magenta (255, 0, 255) where the background shows through:
  0 sort arrow descending, 1 sort arrow ascending,
  2 check box clear, 3 checked, 4 three-state checked, 5 three-state negative (mixed),
  6 check box clear disabled, 7 checked disabled, 8 and 9 empty,
  10 file, 11 folder, 12 drive (a drive's free space).

The pictures are described once, on a 16-unit grid, and drawn at every size from that description
(never scaled from a smaller bitmap): edges land on whole pixels, outlines are one pixel wide up to
24 pixels and two at 32, and only the tick, which lies on the opaque box, is smoothed.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)

MAGENTA = (255, 0, 255)
GRID = 16
COUNT = 13
STRIPS = {16: 'ListImages16.bmp', 24: 'ListImages24.bmp', 32: 'ListImages32.bmp'}


def box(x0, y0, x1, y1):
    """The area x0 <= x < x1, y0 <= y < y1 of the grid."""
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_box(x0, y0, x1, y1, corners):
    """A box whose named corners ('tl', 'tr', 'bl', 'br') are cut by a short diagonal."""
    inner = box(x0, y0, x1, y1)

    def inside(x, y):
        if not inner(x, y):
            return False
        near = {'tl': (x - x0, y - y0), 'tr': (x1 - x, y - y0), 'bl': (x - x0, y1 - y), 'br': (x1 - x, y1 - y)}
        return all(dx + dy > 1 for name, (dx, dy) in near.items() if name in corners)
    return inside


def both(first, second):
    return lambda x, y: first(x, y) and second(x, y)


class Canvas:
    """One square image of `size` pixels; shapes are given on the 16-unit grid."""

    def __init__(self, size):
        self.size = size
        self.scale = size / GRID
        self.line = max(1, size // GRID)
        self.pixels = [[MAGENTA] * size for _ in range(size)]

    def centre(self, p):
        return (p + 0.5) / self.scale

    def covers(self, shape, px, py):
        inside = 0 <= px < self.size and 0 <= py < self.size
        return inside and shape(self.centre(px), self.centre(py))

    def rows_of(self, shape):
        rows = [py for py in range(self.size) if any(self.covers(shape, px, py) for px in range(self.size))]
        return (rows[0], rows[-1]) if rows else (0, 0)

    def fill(self, shape, colour, outline=None, bottom=None):
        """Fills the shape (a vertical gradient to `bottom` when given), its edge in `outline`."""
        top_row, bottom_row = self.rows_of(shape)
        span = max(1, bottom_row - top_row)
        for py in range(self.size):
            for px in range(self.size):
                if not self.covers(shape, px, py):
                    continue
                if outline and self.on_edge(shape, px, py):
                    self.pixels[py][px] = outline
                elif bottom:
                    t = (py - top_row) / span
                    self.pixels[py][px] = tuple(round(a + (b - a) * t) for a, b in zip(colour, bottom))
                else:
                    self.pixels[py][px] = colour

    def on_edge(self, shape, px, py):
        for k in range(1, self.line + 1):
            for dx, dy in ((k, 0), (-k, 0), (0, k), (0, -k)):
                if not self.covers(shape, px + dx, py + dy):
                    return True
        return False

    def stroke(self, points, width, colour):
        """A polyline `width` grid units wide, smoothed over what is drawn under it."""
        samples = 4
        for py in range(self.size):
            for px in range(self.size):
                if self.pixels[py][px] == MAGENTA:
                    continue
                hits = 0
                for sy in range(samples):
                    for sx in range(samples):
                        x = (px + (sx + 0.5) / samples) / self.scale
                        y = (py + (sy + 0.5) / samples) / self.scale
                        if distance_to_polyline(x, y, points) <= width / 2:
                            hits += 1
                if hits:
                    t = hits / samples ** 2
                    under = self.pixels[py][px]
                    self.pixels[py][px] = tuple(round(u + (c - u) * t) for u, c in zip(under, colour))


def distance_to_polyline(x, y, points):
    best = math.inf
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        best = min(best, math.hypot(x - (ax + t * dx), y - (ay + t * dy)))
    return best


def sort_arrow(size, up):
    # A flat triangle with 45-degree sides in the grey of header glyphs, centred in the image, so
    # that the image centred on the header centres the arrow.
    canvas = Canvas(size)
    grey = (96, 96, 96)
    height = round(4 * canvas.scale)
    middle = size // 2 - 1
    top = (size - height) // 2
    for row in range(height):
        half = row if up else height - 1 - row  # the point is one pixel wide
        for x in range(middle - half, middle + half + 1):
            canvas.pixels[top + row][x] = grey
    return canvas.pixels


def check_box(size, state, enabled=True):
    """state: 'clear', 'checked', 'checked3', 'mixed'."""
    canvas = Canvas(size)
    border = (28, 81, 128) if enabled else (160, 160, 160)
    if enabled:
        canvas.fill(box(2, 2, 15, 15), (220, 222, 226), border, bottom=(255, 255, 255))
    else:
        canvas.fill(box(2, 2, 15, 15), (244, 244, 244), border)
    mark = (33, 33, 33) if enabled else (160, 160, 160)
    if state in ('checked', 'checked3'):
        if state == 'checked3' and enabled:
            mark = (20, 90, 170)
        canvas.stroke([(4.5, 8.5), (7.5, 11.5), (12.5, 6.5)], 2.2, mark)
    elif state == 'mixed':
        canvas.fill(box(5, 5, 12, 12), (80, 150, 220), bottom=(30, 90, 170))
    return canvas.pixels


def file_symbol(size):
    canvas = Canvas(size)
    outline = (120, 120, 120)
    # A page with its top-right corner folded over: the corner beyond the diagonal is cut off,
    # and the flap below it is shaded.
    page = both(box(3, 1, 13, 15), lambda x, y: x - y <= 8)
    canvas.fill(page, (255, 255, 255), outline)
    canvas.fill(both(box(9, 1, 13, 5), lambda x, y: x - y <= 8), (235, 235, 235), outline)
    for top, right in ((6, 11), (8, 11), (10, 11), (12, 9)):  # lines of text
        canvas.fill(box(5, top, right, top + 1), (160, 180, 205))
    return canvas.pixels


def folder_symbol(size):
    canvas = Canvas(size)
    edge = (196, 150, 40)
    back_top, back_bottom = (250, 214, 110), (236, 186, 72)
    # The tab and the back panel, then the front flap a little lower with a light top line.
    canvas.fill(rounded_box(1, 2, 7, 5, ('tl', 'tr')), back_top, edge)
    canvas.fill(rounded_box(1, 4, 15, 14, ('bl', 'br')), back_top, edge, bottom=back_bottom)
    canvas.fill(rounded_box(1, 6, 15, 14, ('bl', 'br')), (255, 232, 150), edge, bottom=(244, 200, 90))
    # The light line just inside the flap's top edge.
    flap = box(1, 6, 15, 14)
    top_row, _ = canvas.rows_of(flap)
    for py in range(top_row + canvas.line, top_row + 2 * canvas.line):
        for px in range(size):
            if canvas.covers(flap, px, py) and not canvas.on_edge(flap, px, py):
                canvas.pixels[py][px] = (255, 245, 200)
    return canvas.pixels


def drive_symbol(size):
    canvas = Canvas(size)
    # A disk drive seen from the front: a silver case with a slot and a green light, lighter
    # along its top edge, so that it reads as a drive beside the page and the folder.
    case = rounded_box(1, 4, 15, 12, ('tl', 'tr', 'bl', 'br'))
    canvas.fill(case, (236, 237, 240), (104, 108, 118), bottom=(176, 180, 190))
    top_row, _ = canvas.rows_of(case)
    for py in range(top_row + canvas.line, top_row + 2 * canvas.line):
        for px in range(size):
            if canvas.covers(case, px, py) and not canvas.on_edge(case, px, py):
                canvas.pixels[py][px] = (252, 252, 253)
    canvas.fill(box(3, 8, 9, 9), (92, 96, 106))
    canvas.fill(box(11, 8, 13, 10), (40, 180, 70))
    return canvas.pixels


def strip(size):
    images = [
        sort_arrow(size, False), sort_arrow(size, True),
        check_box(size, 'clear'), check_box(size, 'checked'), check_box(size, 'checked3'), check_box(size, 'mixed'),
        check_box(size, 'clear', False), check_box(size, 'checked', False), Canvas(size).pixels, Canvas(size).pixels,
        file_symbol(size), folder_symbol(size), drive_symbol(size),
    ]
    assert len(images) == COUNT
    return images


def write_bmp(path, images, size):
    width, height = size * len(images), size
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):  # bottom-up
        row = bytearray()
        for img in images:
            for r, g, b in img[y]:
                row += bytes((b, g, r))
        row += b'\0' * (row_bytes - len(row))
        pixels += row
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(path, 'wb') as out:
        out.write(file_header + header + pixels)
# Cursors: 32 x 32 monochrome. 'X' black, 'o' white, '.' transparent; the art sits at the top left.
DIVIDER = [
    ".......XX.XX.......",
    ".......XoXoX.......",
    ".......XoXoX.......",
    ".......XoXoX.......",
    "...X...XoXoX...X...",
    "..XX...XoXoX...XX..",
    ".XoXXXXXoXoXXXXXoX.",
    "XooooooooXoooooooX.",
    ".XoXXXXXoXoXXXXXoX.",
    "..XX...XoXoX...XX..",
    "...X...XoXoX...X...",
    ".......XoXoX.......",
    ".......XoXoX.......",
    ".......XoXoX.......",
    ".......XX.XX.......",
]
DIVIDER_HOTSPOT = (9, 7)

HAND = [
    ".....XX...........",
    "....XooX..........",
    "....XooX..........",
    "....XooX..........",
    "....XooX..........",
    "....XooXXX........",
    "....XooXooXXX.....",
    "....XooXooXooXX...",
    "XX..XooXooXooXoX..",
    "XooXXooooooooXooX.",
    "XoooXoooooooooooX.",
    ".XooXoooooooooooX.",
    "..XoXoooooooooooX.",
    "..XooooooooooooX..",
    "...XoooooooooooX..",
    "...XooooooooooX...",
    "....XoooooooooX...",
    "....XooooooooX....",
    ".....XooooooooX...",
    ".....XXXXXXXXXX...",
]
HAND_HOTSPOT = (5, 0)


def write_cursor(path, art, hotspot):
    size = 32
    def at(x, y):
        return art[y][x] if y < len(art) and x < len(art[y]) else '.'
    def packed(bit):
        data = bytearray()
        for y in reversed(range(size)):  # bottom-up, 4 bytes a row
            value = 0
            for x in range(size):
                if bit(at(x, y)):
                    value |= 1 << (31 - x)
            data += struct.pack('>I', value)
        return data
    xor = packed(lambda c: c == 'o')   # white where the mask is clear
    mask = packed(lambda c: c == '.')  # screen shows through
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 2)
    palette = struct.pack('<4B4B', 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor + mask
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', size, size, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, 'wb') as out:
        out.write(directory + entry + image)


def main():
    for size, name in STRIPS.items():
        write_bmp(os.path.join(OUT, name), strip(size), size)
    write_cursor(os.path.join(OUT, 'DividerCursor.cur'), DIVIDER, DIVIDER_HOTSPOT)
    write_cursor(os.path.join(OUT, 'HandCursor.cur'), HAND, HAND_HOTSPOT)


if __name__ == '__main__':
    main()
