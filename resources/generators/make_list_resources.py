#!/usr/bin/env python3
"""Draws the list control's artwork: the image strip at 16, 24 and 32 pixels (resources 1010, 1011
and 1012, for 100 %, 150 % and 200 % display scales) and the column divider and hand cursors (203,
204) at 32, 48 and 64 pixels, one file each. The outputs are committed beside ListResources.rc, so
a build never runs this; run it again after changing a picture:

    python3 resources/generators/make_list_resources.py

Each strip holds fourteen square images, magenta (255, 0, 255) where the background shows through:
  0 sort arrow descending, 1 sort arrow ascending,
  2 check box clear, 3 checked, 4 three-state checked, 5 three-state negative (mixed),
  6 check box clear disabled, 7 checked disabled, 8 and 9 empty,
  10 file, 11 folder, 12 drive (a drive's free space), 13 recycle bin.

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
COUNT = 14
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


def recycle_bin_symbol(size):
    canvas = Canvas(size)
    edge = (70, 96, 132)
    # A waste basket seen from the front, narrower at its foot, with a lid and a handle above it
    # and ribs down its side, in the blue-grey of a bin, so that it reads apart from the drive.
    basket = both(box(3, 5, 14, 15), lambda x, y: abs(x - 8.5) <= 5.5 - (y - 5) * 0.15)
    canvas.fill(basket, (214, 226, 242), edge, bottom=(150, 174, 206))
    canvas.fill(box(2, 3, 15, 5), (196, 210, 230), edge)
    canvas.fill(box(6, 1, 11, 3), (196, 210, 230), edge)
    for rib in (6, 8, 10):
        canvas.fill(box(rib, 7, rib + 1, 13), (104, 128, 164))
    return canvas.pixels


def strip(size):
    images = [
        sort_arrow(size, False), sort_arrow(size, True),
        check_box(size, 'clear'), check_box(size, 'checked'), check_box(size, 'checked3'), check_box(size, 'mixed'),
        check_box(size, 'clear', False), check_box(size, 'checked', False), Canvas(size).pixels, Canvas(size).pixels,
        file_symbol(size), folder_symbol(size), drive_symbol(size), recycle_bin_symbol(size),
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


# Cursors: monochrome, drawn at 32, 48 and 64 pixels (100 %, 150 % and 200 %) from one description
# on a 32-unit grid. A cursor is its white shapes; every pixel outside them but within the outline
# width (a pixel for every 32 of the size, rounded down) of one is black, so that the cursor shows on any
# background and two white parts a unit apart are parted by a black line. The rest is transparent.
CURSOR_GRID = 32
CURSOR_SIZES = (32, 48, 64)


def finger(x0, x1, top, bottom):
    """A finger from top to bottom, its tip rounded to a half circle."""
    radius = (x1 - x0) / 2
    middle = (x0 + x1) / 2

    def inside(x, y):
        if not (x0 <= x < x1 and top <= y < bottom):
            return False
        return y >= top + radius or math.hypot(x - middle, y - (top + radius)) <= radius
    return inside


def polygon(points):
    """A convex polygon, its points in clockwise order (y grows downwards)."""
    def inside(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (bx - ax) * (y - ay) - (by - ay) * (x - ax) < 0:
                return False
        return True
    return inside


def thick_line(points, width):
    return lambda x, y: distance_to_polyline(x, y, points) <= width / 2


def any_of(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


# The column divider: two bars a unit apart, an arrow out of each, the hot spot between the bars.
DIVIDER_SHAPES = [
    any_of(box(14, 8, 15, 24), box(9, 15, 14, 17), polygon([(4, 16), (10, 10.5), (10, 21.5)])),
    any_of(box(16, 8, 17, 24), box(17, 15, 22, 17), polygon([(22, 10.5), (28, 16), (22, 21.5)])),
]
DIVIDER_HOTSPOT = (15.5, 16)

# The hand: the index finger up, three bent fingers beside it, the thumb to the left, the palm; the
# hot spot at the index finger's tip.
HAND_SHAPES = [
    finger(7, 10, 1, 17),
    finger(11, 14, 9, 15),
    finger(15, 18, 10, 16),
    finger(19, 22, 11, 17),
    thick_line([(3, 13.5), (7.5, 19)], 3),
    polygon([(7, 14), (22, 14), (22, 20), (19, 25), (10, 25), (6, 20)]),
]
HAND_HOTSPOT = (8.5, 1)


def draw_cursor(shapes, size):
    """Rows of 'X' (black), 'o' (white) and '.' (transparent)."""
    scale = size / CURSOR_GRID
    line = max(1, size // CURSOR_GRID)
    white = [[any(shape((px + 0.5) / scale, (py + 0.5) / scale) for shape in shapes) for px in range(size)]
             for py in range(size)]

    def near_white(px, py):
        return any(0 <= py + dy < size and 0 <= px + dx < size and white[py + dy][px + dx]
                   for dy in range(-line, line + 1) for dx in range(-line, line + 1) if dx * dx + dy * dy <= line * line)
    return [''.join('X' if not white[py][px] and near_white(px, py)
                    else 'o' if white[py][px] else '.' for px in range(size)) for py in range(size)]


def cursor_image(art):
    """One 1-bit image of a cursor file: the header, the palette, the colour bits, the mask bits."""
    size = len(art)
    stride = (size + 31) // 32 * 4

    def packed(bit):
        data = bytearray()
        for row in reversed(art):  # bottom-up
            value = 0
            for x, pixel in enumerate(row):
                if bit(pixel):
                    value |= 1 << (stride * 8 - 1 - x)
            data += value.to_bytes(stride, 'big')
        return data
    xor = packed(lambda c: c == 'o')   # white where the mask is clear
    mask = packed(lambda c: c == '.')  # the screen shows through
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 2)
    palette = struct.pack('<4B4B', 0, 0, 0, 0, 255, 255, 255, 0)
    return header + palette + xor + mask


def write_cursor(path, shapes, hotspot):
    """A cursor file with one image a size; the system picks the one for the display's scale."""
    images = [(size, cursor_image(draw_cursor(shapes, size))) for size in CURSOR_SIZES]
    directory = struct.pack('<HHH', 0, 2, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b''
    for size, image in images:
        scale = size / CURSOR_GRID
        spot = (min(size - 1, int(hotspot[0] * scale)), min(size - 1, int(hotspot[1] * scale)))
        entries += struct.pack('<BBBBHHII', size, size, 2, 0, spot[0], spot[1], len(image), offset)
        offset += len(image)
    with open(path, 'wb') as out:
        out.write(directory + entries + b''.join(image for _, image in images))


def main():
    for size, name in STRIPS.items():
        write_bmp(os.path.join(OUT, name), strip(size), size)
    write_cursor(os.path.join(OUT, 'DividerCursor.cur'), DIVIDER_SHAPES, DIVIDER_HOTSPOT)
    write_cursor(os.path.join(OUT, 'HandCursor.cur'), HAND_SHAPES, HAND_HOTSPOT)


if __name__ == '__main__':
    main()
