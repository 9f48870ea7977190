#!/usr/bin/env python3
"""Draws the list control's artwork: the 192 x 16 image strip (resource 1010) and the column
divider and hand cursors (203, 204). The outputs are committed beside ListResources.rc, so a build
never runs this; run it again after changing a picture:

    python3 resources/generators/make_list_resources.py

Strip images, 16 x 16 each, magenta (255, 0, 255) where the background shows through:
  0 sort arrow descending, 1 sort arrow ascending,
  2 check box clear, 3 checked, 4 three-state checked, 5 three-state negative (mixed),
  6 check box clear disabled, 7 checked disabled, 8 and 9 empty,
  10 file, 11 folder.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)

MAGENTA = (255, 0, 255)
SIZE = 16
COUNT = 12


def blank():
    return [[MAGENTA] * SIZE for _ in range(SIZE)]


def rect(img, x0, y0, x1, y1, colour):
    """Fills x0..x1, y0..y1 inclusive."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = colour
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = colour


def vertical_gradient(img, x0, y0, x1, y1, top, bottom):
    span = max(1, y1 - y0)
    for y in range(y0, y1 + 1):
        t = (y - y0) / span
        colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def sort_arrow(up):
    # A small flat triangle, 7 wide and 4 high, in the grey of header glyphs. It sits in rows 1 to
    # 4: the header places the image's top 3 pixels above its middle.
    img = blank()
    grey = (96, 96, 96)
    for row in range(4):
        half = row if up else 3 - row  # half-width of this line: the point is one pixel wide
        for x in range(7 - half, 8 + half):
            img[1 + row][x] = grey
    return img


def check_box(state, enabled=True):
    """state: 'clear', 'checked', 'checked3', 'mixed'."""
    img = blank()
    border = (28, 81, 128) if enabled else (160, 160, 160)
    frame(img, 2, 2, 14, 14, border)
    if enabled:
        vertical_gradient(img, 3, 3, 13, 13, (220, 222, 226), (255, 255, 255))
    else:
        rect(img, 3, 3, 13, 13, (244, 244, 244))
    mark = (33, 33, 33) if enabled else (160, 160, 160)
    if state in ('checked', 'checked3'):
        if state == 'checked3':
            mark = (20, 90, 170) if enabled else mark
        # A three-pixel-thick tick from (4, 8) down to (7, 11) and up to (12, 5).
        points = [(4, 7), (5, 8), (6, 9), (7, 10), (8, 9), (9, 8), (10, 7), (11, 6), (12, 5)]
        for x, y in points:
            for dy in range(3):
                if y + dy <= 13:
                    img[y + dy][x] = mark
    elif state == 'mixed':
        vertical_gradient(img, 5, 5, 11, 11, (80, 150, 220), (30, 90, 170))
    return img


def file_symbol():
    img = blank()
    outline = (120, 120, 120)
    paper = (255, 255, 255)
    # A page with its top-right corner folded over.
    rect(img, 3, 1, 12, 14, paper)
    for x in range(3, 10):
        img[1][x] = outline
    for y in range(1, 15):
        img[y][3] = outline
    for x in range(3, 13):
        img[14][x] = outline
    for y in range(5, 15):
        img[y][12] = outline
    for i in range(4):  # the fold's diagonal and its shaded flap
        img[1 + i][9 + i] = outline
        for x in range(9, 9 + i):
            img[1 + i][x] = (235, 235, 235)
    for x in range(9, 13):
        img[4][x] = outline
    for y in range(1, 5):
        img[y][9] = outline
    for x in range(10, 13):  # nothing above the fold
        for y in range(1, 4):
            if x > 9 + y - 1:
                img[y][x] = MAGENTA
    for y in (6, 8, 10, 12):  # lines of text
        for x in range(5, 11 if y != 12 else 9):
            img[y][x] = (160, 180, 205)
    return img


def folder_symbol():
    img = blank()
    edge = (196, 150, 40)
    back_top, back_bottom = (250, 214, 110), (236, 186, 72)
    front_top, front_bottom = (255, 232, 150), (244, 200, 90)
    # The tab and the back panel.
    rect(img, 1, 2, 6, 4, back_top)
    frame(img, 1, 2, 6, 4, edge)
    vertical_gradient(img, 1, 4, 14, 13, back_top, back_bottom)
    frame(img, 1, 4, 14, 13, edge)
    img[2][6] = MAGENTA
    img[2][1] = MAGENTA
    # The front flap, a little lower, with a light top line.
    vertical_gradient(img, 1, 6, 14, 13, front_top, front_bottom)
    frame(img, 1, 6, 14, 13, edge)
    for x in range(2, 14):
        img[7][x] = (255, 245, 200)
    img[13][1] = img[13][14] = MAGENTA
    return img


def strip():
    images = [
        sort_arrow(False), sort_arrow(True),
        check_box('clear'), check_box('checked'), check_box('checked3'), check_box('mixed'),
        check_box('clear', False), check_box('checked', False), blank(), blank(),
        file_symbol(), folder_symbol(),
    ]
    assert len(images) == COUNT
    return images


def write_bmp(path, images):
    width, height = SIZE * len(images), SIZE
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
    write_bmp(os.path.join(OUT, 'ListImages.bmp'), strip())
    write_cursor(os.path.join(OUT, 'DividerCursor.cur'), DIVIDER, DIVIDER_HOTSPOT)
    write_cursor(os.path.join(OUT, 'HandCursor.cur'), HAND, HAND_HOTSPOT)


if __name__ == '__main__':
    main()
