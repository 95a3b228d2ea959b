#!/usr/bin/env python3
"""Writes the program's placeholder pictures into this folder.

about.bmp             160 x 103, 8 bits per pixel (about box picture)
toolbar.bmp           288 x 32, 8 bits per pixel (nine 32 x 32 button images)
zelkovane.ico         32 x 32 program icon
zelkovane_small.ico   16 x 16 program icon

The pictures are plain drawings (a tree, simple button glyphs) that stand in
until the real artwork is made. Run it again after changing a drawing; the
output is deterministic.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Palette entries as (r, g, b); index 0 is the window background colour.
PALETTE = [
    (238, 235, 218),  # 0 background
    (0, 0, 0),        # 1 black
    (255, 255, 255),  # 2 white
    (60, 130, 60),    # 3 leaf green
    (110, 80, 50),    # 4 trunk brown
    (200, 60, 50),    # 5 red
    (50, 90, 170),    # 6 blue
    (120, 120, 120),  # 7 grey
    (215, 210, 190),  # 8 button face
    (160, 150, 120),  # 9 button edge
]


class Canvas:
    def __init__(self, width, height, fill=0):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def set(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.set(x, y0, c)
            self.set(x, y1 - 1, c)
        for y in range(y0, y1):
            self.set(x0, y, c)
            self.set(x1 - 1, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def glyph(self, rows, x0, y0, scale, c):
        for gy, row in enumerate(rows):
            for gx, ch in enumerate(row):
                if ch == '#':
                    self.rect(x0 + gx * scale, y0 + gy * scale,
                              x0 + (gx + 1) * scale, y0 + (gy + 1) * scale, c)


def tree(canvas, cx, top, size):
    """A zelkova: a wide green crown on a brown trunk."""
    r = size * 3 // 8
    trunk_w = max(1, size // 8)
    canvas.rect(cx - trunk_w // 2 - (trunk_w % 2), top + r, cx + trunk_w // 2 + 1, top + size, 4)
    canvas.disc(cx, top + r, r, 3)
    canvas.disc(cx - r * 2 // 3, top + r + r // 3, r * 2 // 3, 3)
    canvas.disc(cx + r * 2 // 3, top + r + r // 3, r * 2 // 3, 3)


def bmp8(canvas):
    """An uncompressed bottom-up 8-bit BMP file."""
    row_bytes = (canvas.width + 3) // 4 * 4
    pixels = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytes(canvas.px[y])
        pixels += row + bytes(row_bytes - canvas.width)
    palette = bytearray()
    for i in range(256):
        r, g, b = PALETTE[i] if i < len(PALETTE) else (0, 0, 0)
        palette += bytes((b, g, r, 0))
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 8, 0,
                       len(pixels), 2835, 2835, 256, 0)
    return header + info + palette + pixels


def ico(canvas, transparent=0):
    """A one-image icon file: 32-bit colour with alpha plus the AND mask."""
    w, h = canvas.width, canvas.height
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            c = canvas.px[y][x]
            r, g, b = PALETTE[c]
            a = 0 if c == transparent else 255
            xor += bytes((b, g, r, a))
    mask_row = (w + 31) // 32 * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(w):
            if canvas.px[y][x] == transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


# Button glyphs, 12 x 12, drawn at twice their size on a 32 x 32 button.
GLYPHS = [
    # 0 card layout: a postcard with its postal code boxes
    ([" ########## ", " #        # ", " # ## ##  # ", " #        # ", " #   #    # ",
      " #   #  # # ", " #   #  # # ", " #   #  # # ", " #      # # ", " #        # ",
      " #        # ", " ########## "], 6),
    # 1 sender: a person
    (["    ####    ", "   ######   ", "   ######   ", "    ####    ", "            ",
      "  ########  ", " ########## ", " ########## ", " ########## ", " ########## ",
      "            ", "            "], 4),
    # 2 addressees: a list
    (["            ", " ## ####### ", "            ", " ## ####### ", "            ",
      " ## ####### ", "            ", " ## ####### ", "            ", " ## ####### ",
      "            ", "            "], 6),
    # 3 previous: arrow to the left
    (["            ", "     #      ", "    ##      ", "   ###      ", "  ######### ",
      " ########## ", " ########## ", "  ######### ", "   ###      ", "    ##      ",
      "     #      ", "            "], 3),
    # 4 next: arrow to the right
    (["            ", "      #     ", "      ##    ", "      ###   ", " #########  ",
      " ########## ", " ########## ", " #########  ", "      ###   ", "      ##    ",
      "      #     ", "            "], 3),
    # 5 print position: a cross hair
    (["     ##     ", "     ##     ", "     ##     ", "            ", "            ",
      "###      ###", "###      ###", "            ", "            ", "     ##     ",
      "     ##     ", "     ##     "], 6),
    # 6 print: a printer
    (["   ######   ", "   #    #   ", "   #    #   ", " ########## ", " #        # ",
      " #      ## #", " #        # ", " ########## ", "   #    #   ", "   #    #   ",
      "   ######   ", "            "], 1),
    # 7 help: a question mark
    (["   ######   ", "  ##    ##  ", "  ##    ##  ", "        ##  ", "       ##   ",
      "      ##    ", "     ##     ", "     ##     ", "            ", "     ##     ",
      "     ##     ", "            "], 6),
    # 8 exit: a cross
    (["            ", " ##      ## ", "  ##    ##  ", "   ##  ##   ", "    ####    ",
      "     ##     ", "    ####    ", "   ##  ##   ", "  ##    ##  ", " ##      ## ",
      "            ", "            "], 5),
]


def toolbar():
    canvas = Canvas(288, 32)
    for i, (rows, colour) in enumerate(GLYPHS):
        x0 = i * 32
        canvas.rect(x0 + 1, 1, x0 + 31, 31, 8)
        canvas.frame(x0 + 1, 1, x0 + 31, 31, 9)
        canvas.glyph(rows, x0 + 4, 4, 2, colour)
    return canvas


def about():
    canvas = Canvas(160, 103)
    canvas.frame(0, 0, 160, 103, 9)
    tree(canvas, 80, 8, 88)
    return canvas


def icon(size):
    canvas = Canvas(size, size)
    tree(canvas, size // 2, 0, size)
    return canvas


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    write('about.bmp', bmp8(about()))
    write('toolbar.bmp', bmp8(toolbar()))
    write('zelkovane.ico', ico(icon(32)))
    write('zelkovane_small.ico', ico(icon(16)))
