#!/usr/bin/env python3
"""Draws the program's pictures into this folder (standard library only).

toolbar.bmp           288 x 32, 8 bits per pixel: the nine 32 x 32 button
                      images side by side, in the order of the toolbar's
                      buttons (card layout, sender, addressee list, previous,
                      next, print position, print, help, exit)
about.bmp             160 x 103, 8 bits per pixel: the about box picture
zelkovane.ico         32 x 32, 256 colours: the large program icon
zelkovane_small.ico   16 x 16, 256 colours: the small program icon

The toolbar images stand on RGB(192, 192, 192): the toolbar maps that grey
to the system's button face colour and draws it transparent, so nothing of
the pictures may use that exact grey. Black, RGB(128, 128, 128) and white
are mapped to system colours too and are avoided for the same reason.

The about picture is drawn four times larger and scaled down, which smooths
its edges; the toolbar images and icons are drawn pixel for pixel. Every
picture is reduced to at most 256 colours. The output is deterministic: run
the script again after changing a drawing and commit the files it writes.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------- colours

FACE = (192, 192, 192)     # toolbar button face (drawn transparent)
INK = (36, 36, 48)         # outlines and text
WHITE = (252, 252, 250)
PAPER = (255, 252, 238)
CREAM = (238, 235, 218)    # the main window's background
SHADOW = (150, 150, 158)
GREY_D = (88, 90, 100)
GREY_M = (140, 143, 152)
GREY_L = (214, 216, 222)
RED = (214, 38, 38)
RED_D = (150, 20, 24)
PINK = (248, 196, 190)
BLUE = (36, 92, 196)
BLUE_L = (120, 172, 238)
BLUE_D = (22, 56, 132)
SKY = (178, 214, 246)
GREEN = (46, 146, 62)
GREEN_L = (128, 200, 96)
GREEN_D = (24, 92, 40)
BROWN = (124, 80, 40)
BROWN_L = (178, 122, 66)
BROWN_D = (80, 50, 24)
YELLOW = (246, 206, 52)
YELLOW_L = (252, 236, 150)
SKIN = (246, 206, 166)


def mix(a, b, t):
    """The colour t of the way from a to b."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------- shapes
#
# A shape is a test inside(x, y) on a point in picture units plus a bounding
# box (x0, y0, x1, y1). A pixel belongs to the shape when its centre does.


def rect(x0, y0, x1, y1):
    return (lambda x, y: x0 <= x < x1 and y0 <= y < y1), (x0, y0, x1, y1)


def ellipse(cx, cy, rx, ry):
    def inside(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        return dx * dx + dy * dy <= 1.0
    return inside, (cx - rx, cy - ry, cx + rx, cy + ry)


def polygon(points):
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > y) != (by > y):
                cross = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < cross:
                    result = not result
        return result
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def stroke(points, width):
    """A polyline of the given width with round ends and joints."""
    r = width / 2.0
    segments = list(zip(points, points[1:])) or [(points[0], points[0])]

    def inside(x, y):
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            length = dx * dx + dy * dy
            t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
            px, py = ax + t * dx - x, ay + t * dy - y
            if px * px + py * py <= r * r:
                return True
        return False
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r)


def arc(cx, cy, rx, ry, start, end, steps=24):
    """Points along an ellipse from angle start to end (degrees, y down)."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


def mirrored(shape, width):
    """The shape mirrored left to right inside a picture `width` wide."""
    test, (x0, y0, x1, y1) = shape
    return (lambda x, y: test(width - x, y)), (width - x1, y0, width - x0, y1)


def moved(shape, dx, dy):
    test, (x0, y0, x1, y1) = shape
    return (lambda x, y: test(x - dx, y - dy)), (x0 + dx, y0 + dy, x1 + dx, y1 + dy)


# ---------------------------------------------------------------- canvas


class Canvas:
    """An RGB picture. With scale > 1 it is drawn that many times larger and
    `pixels()` averages it down, which smooths the edges."""

    def __init__(self, width, height, fill, scale=1):
        self.width, self.height, self.scale = width, height, scale
        self.w, self.h = width * scale, height * scale
        self.px = [[fill] * self.w for _ in range(self.h)]

    def _mask(self, shape):
        test, (x0, y0, x1, y1) = shape
        s = self.scale
        mask = set()
        for hy in range(max(0, int(math.floor(y0 * s)) - 1), min(self.h, int(math.ceil(y1 * s)) + 1)):
            y = (hy + 0.5) / s
            for hx in range(max(0, int(math.floor(x0 * s)) - 1), min(self.w, int(math.ceil(x1 * s)) + 1)):
                if test((hx + 0.5) / s, y):
                    mask.add((hx, hy))
        return mask

    def fill(self, shape, colour, outline=None, width=1):
        """Fills a shape with a colour or a function colour(x, y), and draws
        its edge `width` picture pixels wide inside it when an outline colour
        is given."""
        mask = self._mask(shape)
        s = self.scale
        for hx, hy in mask:
            c = colour((hx + 0.5) / s, (hy + 0.5) / s) if callable(colour) else colour
            self.px[hy][hx] = c
        if outline is not None:
            reach = int(round(width * s))
            for hx, hy in self._edge(mask, reach):
                self.px[hy][hx] = outline

    @staticmethod
    def _edge(mask, reach):
        edge = []
        for hx, hy in mask:
            for d in range(1, reach + 1):
                if ((hx - d, hy) not in mask or (hx + d, hy) not in mask or
                        (hx, hy - d) not in mask or (hx, hy + d) not in mask):
                    edge.append((hx, hy))
                    break
        return edge

    def edge(self, shape, colour, width=1):
        """Draws only the edge of a shape, `width` picture pixels wide."""
        for hx, hy in self._edge(self._mask(shape), int(round(width * self.scale))):
            self.px[hy][hx] = colour

    def dot(self, x, y, colour):
        """One picture pixel."""
        self.fill(rect(x, y, x + 1, y + 1), colour)

    def pattern(self, rows, x0, y0, colours):
        """Pixel art: each character of `rows` is looked up in `colours`;
        characters not in it leave the pixel as it is."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.dot(x0 + dx, y0 + dy, colours[ch])

    def pixels(self):
        """The picture at its own size, rows from the top."""
        s = self.scale
        if s == 1:
            return [row[:] for row in self.px]
        out = []
        n = s * s
        for y in range(self.height):
            row = []
            for x in range(self.width):
                r = g = b = 0
                for hy in range(y * s, y * s + s):
                    line = self.px[hy]
                    for hx in range(x * s, x * s + s):
                        c = line[hx]
                        r += c[0]
                        g += c[1]
                        b += c[2]
                row.append(((r + n // 2) // n, (g + n // 2) // n, (b + n // 2) // n))
            out.append(row)
        return out


# ---------------------------------------------------------------- palette


def quantize(pixels, keep=(), limit=256):
    """Reduces the picture to at most `limit` colours (median cut). Colours
    in `keep` stay exact. Returns (palette, rows of palette indices)."""
    counts = {}
    for row in pixels:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    kept = [c for c in keep if c in counts]
    others = [c for c in counts if c not in kept]
    room = limit - len(kept)
    if len(others) <= room:
        boxes = [[c] for c in others]
    else:
        boxes = [others]
        while len(boxes) < room:
            # Split the box with the widest channel range at its median.
            best, best_range, best_channel = None, -1, 0
            for i, box in enumerate(boxes):
                if len(box) < 2:
                    continue
                for ch in range(3):
                    values = [c[ch] for c in box]
                    spread = (max(values) - min(values)) * math.sqrt(sum(counts[c] for c in box))
                    if spread > best_range:
                        best, best_range, best_channel = i, spread, ch
            if best is None:
                break
            box = sorted(boxes[best], key=lambda c: (c[best_channel], c))
            half = len(box) // 2
            boxes[best:best + 1] = [box[:half], box[half:]]
    palette = list(kept)
    index = {c: i for i, c in enumerate(kept)}
    for box in boxes:
        total = sum(counts[c] for c in box)
        mean = tuple(int(round(sum(c[ch] * counts[c] for c in box) / total)) for ch in range(3))
        for c in box:
            index[c] = len(palette)
        palette.append(mean)
    return palette, [[index[c] for c in row] for row in pixels]


# ---------------------------------------------------------------- files


def palette_bytes(palette):
    data = bytearray()
    for i in range(256):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        data += bytes((b, g, r, 0))
    return data


def bmp8(pixels, keep=()):
    """An uncompressed bottom-up 8-bit BMP file with a full colour table."""
    palette, rows = quantize(pixels, keep)
    width, height = len(rows[0]), len(rows)
    row_bytes = (width + 3) // 4 * 4
    data = bytearray()
    for row in reversed(rows):
        data += bytes(row) + bytes(row_bytes - width)
    table = palette_bytes(palette)
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(data), 2835, 2835, 0, 0)
    return header + info + table + data


def ico8(pixels, transparent):
    """A one-image icon: 256 colours plus the AND mask, in which pixels of
    the colour `transparent` are see-through."""
    size = len(pixels)
    palette, rows = quantize(pixels, keep=(transparent,))
    clear = palette.index(transparent) if transparent in palette else -1
    row_bytes = (size + 3) // 4 * 4
    xor = bytearray()
    for row in reversed(rows):
        # See-through pixels are black in the colour image, as Windows expects.
        xor += bytes(0 if i == clear else i for i in row) + bytes(row_bytes - size)
    if clear >= 0:
        palette = list(palette)
        palette[clear] = (0, 0, 0)
    mask_row = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x, i in enumerate(row):
            if i == clear:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    table = palette_bytes(palette)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + table + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


# ---------------------------------------------------------------- toolbar
#
# Each button image is drawn on its own 32 x 32 canvas of button face grey.


def vertical(top, bottom, y0, y1):
    """A colour function running from `top` at y0 to `bottom` at y1."""
    return lambda x, y: mix(top, bottom, max(0.0, min(1.0, (y - y0) / max(1e-6, y1 - y0))))


def postcard_boxes(c, x0, y0, count, colour):
    """Small red postal code boxes, 3 x 4 pixels, one pixel apart."""
    for i in range(count):
        c.fill(rect(x0 + i * 4, y0, x0 + i * 4 + 3, y0 + 4), WHITE, colour)


def button_card_layout():
    """A postcard with its postal code boxes and a landscape picture."""
    c = Canvas(32, 32, FACE)
    c.fill(rect(8, 2, 26, 31), SHADOW)
    c.fill(rect(6, 1, 24, 30), WHITE, INK)
    postcard_boxes(c, 12, 3, 3, RED)
    # The picture: sky, sun, two hills.
    c.fill(rect(8, 10, 22, 27), vertical(SKY, WHITE, 10, 24), GREY_D)
    c.fill(ellipse(18.5, 14.5, 2.6, 2.6), YELLOW)
    c.fill(polygon([(9, 26), (9, 20), (13, 16), (18, 22), (21, 20), (21, 26)]), GREEN_L)
    c.fill(polygon([(9, 26), (9, 23), (12, 21), (16, 24), (21, 23), (21, 26)]), GREEN)
    c.edge(rect(8, 10, 22, 27), GREY_D)
    return c


def person(c, cx, top, body_colour):
    """Head and shoulders of a person."""
    c.fill(polygon([(cx - 9, top + 21), (cx - 9, top + 16), (cx - 6, top + 12), (cx + 6, top + 12),
                    (cx + 9, top + 16), (cx + 9, top + 21)]),
           vertical(mix(body_colour, WHITE, 0.35), body_colour, top + 12, top + 20), INK)
    c.fill(ellipse(cx, top + 6, 5, 5.6), SKIN, INK)
    c.fill(polygon([(cx - 5, top + 5), (cx - 4, top + 1), (cx, top), (cx + 4, top + 1),
                    (cx + 5, top + 5), (cx + 3, top + 3), (cx - 3, top + 3)]), BROWN_D)


def right_arrow(x0, x1, cy, half_shaft, half_head, head_len):
    return polygon([(x0, cy - half_shaft), (x1 - head_len, cy - half_shaft),
                    (x1 - head_len, cy - half_head), (x1, cy), (x1 - head_len, cy + half_head),
                    (x1 - head_len, cy + half_shaft), (x0, cy + half_shaft)])


def button_sender():
    """The sender: a person sending something off (an outgoing arrow)."""
    c = Canvas(32, 32, FACE)
    person(c, 11.5, 8, BLUE)
    c.fill(right_arrow(16, 31, 8.5, 2.5, 6.5, 7), vertical(GREEN_L, GREEN, 2, 15), INK)
    return c


def button_addressee_list():
    """The addressee list: an address book with index tabs and entries."""
    c = Canvas(32, 32, FACE)
    c.fill(rect(7, 2, 29, 31), SHADOW)
    c.fill(rect(5, 1, 27, 30), WHITE, INK)
    # Index tabs on the right edge.
    for y, colour in ((4, RED), (11, GREEN), (18, BLUE)):
        c.fill(rect(27, y, 30, y + 5), colour, INK)
    # Rings of the binding.
    for y in range(4, 29, 5):
        c.fill(rect(3, y, 8, y + 2), GREY_M, GREY_D)
    # Entries: a small person and two lines of text each.
    for i, y in enumerate((4, 12, 20)):
        colour = (RED, GREEN, BLUE)[i]
        c.fill(ellipse(11.5, y + 1.5, 1.6, 1.6), colour)
        c.fill(rect(10, y + 3, 14, y + 6), colour)
        c.fill(rect(16, y + 1, 25, y + 2), GREY_D)
        c.fill(rect(16, y + 4, 23, y + 5), GREY_M)
    return c


def arrow_shape():
    """A wide arrow pointing left, tip at the left edge."""
    return polygon([(2, 16), (15, 3), (15, 10), (30, 10), (30, 22), (15, 22), (15, 29)])


def button_previous():
    c = Canvas(32, 32, FACE)
    c.fill(moved(arrow_shape(), 1, 1), SHADOW)
    c.fill(arrow_shape(), vertical(BLUE_L, BLUE_D, 4, 28), INK)
    return c


def button_next():
    c = Canvas(32, 32, FACE)
    c.fill(moved(mirrored(arrow_shape(), 32), 1, 1), SHADOW)
    c.fill(mirrored(arrow_shape(), 32), vertical(BLUE_L, BLUE_D, 4, 28), INK)
    return c


def button_print_position():
    """A sheet with a postcard placed on it, rulers and guide lines that
    measure the card's offset."""
    c = Canvas(32, 32, FACE)
    # Rulers along the top and the left.
    c.fill(rect(6, 0, 32, 5), YELLOW, BROWN)
    c.fill(rect(0, 6, 5, 32), YELLOW, BROWN)
    for i in range(8, 32, 3):
        c.fill(rect(i, 2 if (i - 8) % 6 else 1, i + 1, 4), BROWN_D)
        c.fill(rect(2 if (i - 8) % 6 else 1, i, 4, i + 1), BROWN_D)
    # The sheet and the card on it.
    c.fill(rect(7, 7, 32, 32), WHITE, GREY_D)
    c.fill(rect(15, 14, 27, 30), PAPER, RED)
    c.fill(rect(18, 16, 20, 18), RED)
    c.fill(rect(21, 16, 23, 18), RED)
    c.fill(rect(24, 16, 26, 18), RED)
    c.fill(rect(21, 20, 22, 28), GREY_M)
    # Guide lines from the rulers to the card's corner, with arrowheads.
    for y in range(5, 10, 2):
        c.dot(15, y, BLUE)
    for x in range(5, 10, 2):
        c.dot(x, 14, BLUE)
    for i in range(3):
        c.fill(rect(13 + i, 10 + i, 18 - i, 11 + i), BLUE)   # pointing down
        c.fill(rect(11 + i, 12 + i, 12 + i, 17 - i), BLUE)   # pointing right
    return c


def button_print():
    """A printer with a sheet coming out."""
    c = Canvas(32, 32, FACE)
    c.fill(rect(9, 1, 23, 12), WHITE, INK)
    c.fill(rect(11, 4, 21, 5), GREY_M)
    c.fill(rect(11, 7, 19, 8), GREY_M)
    c.fill(polygon([(2, 26), (2, 14), (5, 10), (27, 10), (30, 14), (30, 26)]),
           vertical(GREY_L, GREY_M, 10, 26), INK)
    c.fill(rect(3, 20, 30, 21), GREY_D)
    c.fill(rect(24, 14, 27, 16), GREEN_L, GREEN_D)
    c.fill(rect(7, 18, 25, 31), WHITE, INK)
    c.fill(rect(10, 22, 22, 23), GREY_D)
    c.fill(rect(10, 25, 20, 26), GREY_M)
    c.fill(rect(10, 28, 17, 29), GREY_M)
    return c


QUESTION = [
    "  ######  ",
    " ######## ",
    "###    ###",
    "###    ###",
    "      ### ",
    "     ###  ",
    "    ###   ",
    "    ###   ",
    "          ",
    "    ###   ",
    "    ###   ",
]


def button_help():
    """A question mark on a blue disc."""
    c = Canvas(32, 32, FACE)
    c.fill(ellipse(17, 17, 14, 14), SHADOW)
    c.fill(ellipse(16, 16, 14, 14), vertical(BLUE_L, BLUE_D, 3, 29), INK)
    c.pattern(QUESTION, 12, 11, {'#': BLUE_D})
    c.pattern(QUESTION, 11, 10, {'#': WHITE})
    return c


def button_exit():
    """An open door with an arrow leading out."""
    c = Canvas(32, 32, FACE)
    c.fill(rect(4, 2, 19, 31), BROWN_D, INK)          # frame and dark doorway
    c.fill(rect(6, 4, 17, 31), (40, 34, 30))
    c.fill(polygon([(6, 4), (11, 7), (11, 31), (6, 31)]),  # the door leaf, swung open
           vertical(BROWN_L, BROWN, 4, 30), INK)
    c.dot(9, 18, YELLOW)
    c.fill(rect(0, 30, 32, 31), GREY_D)
    c.fill(right_arrow(13, 31, 17, 3, 7.5, 8), vertical(GREEN_L, GREEN, 9, 25), INK)
    return c


BUTTONS = [button_card_layout, button_sender, button_addressee_list, button_previous,
           button_next, button_print_position, button_print, button_help, button_exit]


def toolbar():
    rows = [[] for _ in range(32)]
    for draw in BUTTONS:
        for y, row in enumerate(draw().pixels()):
            rows[y] += row
    for row in rows:
        for colour in row:
            assert colour == FACE or colour not in ((0, 0, 0), (128, 128, 128), FACE, (255, 255, 255))
    return rows


# ---------------------------------------------------------------- about

# Strokes of the title's letters in a box 10 units high (x, y with y down).
LETTERS = {
    'Z': ([[(0, 0), (7, 0), (0, 10), (7, 10)]], 8),
    'e': ([[(0.4, 6.5), (6.6, 6.5)] + arc(3.5, 6.5, 3.1, 3.3, 0, -330)[1:]], 7.5),
    'l': ([[(0.8, 0), (0.8, 10)]], 2.2),
    'k': ([[(0.8, 0), (0.8, 10)], [(5.6, 3.2), (0.8, 7.4)], [(2.6, 5.8), (6, 10)]], 6.5),
    'o': ([arc(3.5, 6.6, 3.1, 3.4, 0, 360, 32)], 7.5),
    'v': ([[(0, 3.2), (3, 10), (6, 3.2)]], 6.6),
    'a': ([arc(3.2, 6.7, 3.0, 3.3, 0, 360, 32), [(6.2, 3.2), (6.2, 10)]], 7.6),
    'n': ([[(0.8, 10), (0.8, 3.2)], [(0.8, 6)] + arc(3.6, 6.2, 2.8, 3.0, 180, 360, 12)[1:] +
           [(6.4, 10)]], 7.8),
    'V': ([[(0, 0), (3.5, 10), (7, 0)]], 7.6),
    'r': ([[(0.8, 10), (0.8, 3.2)], [(0.8, 6.4)] + arc(3.6, 6.4, 2.8, 3.0, 180, 290, 8)[1:]], 4.6),
    '1': ([[(0.6, 2), (2.6, 0), (2.6, 10)]], 4.6),
    '.': ([[(0.8, 9.6), (0.8, 9.6)]], 2.4),
    '0': ([arc(3, 5, 2.8, 5, 0, 360, 32)], 6.6),
    '5': ([[(5.8, 0), (1, 0), (0.6, 4.6)] + arc(3, 6.8, 2.9, 3.2, -120, 140, 16)], 6.6),
    ' ': ([], 3),
}


def text(c, s, x, y, height, width, colour):
    """Draws `s` with its top-left at (x, y), letters `height` units high."""
    k = height / 10.0
    for ch in s:
        strokes, advance = LETTERS[ch]
        for points in strokes:
            c.fill(stroke([(x + px * k, y + py * k) for px, py in points], width), colour)
        x += (advance + 1.6) * k
    return x


def zelkova(c, cx, ground, height, width):
    """A zelkova: a short trunk that forks into many limbs and a broad,
    rounded crown like an upturned fan."""
    top = ground - height
    trunk = BROWN_D
    c.fill(polygon([(cx - 3.2, ground + 1), (cx - 2.2, ground - height * 0.3),
                    (cx + 2.2, ground - height * 0.3), (cx + 3.2, ground + 1)]), trunk)
    fork = ground - height * 0.3
    for dx in (-0.42, -0.22, 0.0, 0.22, 0.42):
        c.fill(stroke([(cx + dx * 4, fork + 2), (cx + dx * width * 0.7, top + height * 0.42)],
                      2.0 - abs(dx) * 2), trunk)
    # The crown: a broad mass of leaves with clusters standing out, lit
    # from the top left.
    mass = (cx, top + height * 0.36, width * 0.46, height * 0.26)
    clusters = [mass]
    for i in range(10):
        angle = math.radians(190 + 160 * i / 9.0)
        clusters.append((cx + math.cos(angle) * width * 0.36,
                         top + height * 0.36 + math.sin(angle) * height * 0.2,
                         width * 0.15, height * 0.14))
    for i in range(4):
        clusters.append((cx + (i / 3.0 - 0.5) * width * 0.62, top + height * 0.5,
                         width * 0.15, height * 0.11))

    def leaves(ex, ey, rx, ry):
        return lambda x, y: mix(GREEN_L, GREEN, max(0.0, min(1.0,
                                0.45 + ((x - ex) / rx + (y - ey) / ry) * 0.4)))
    for ex, ey, rx, ry in clusters:
        c.fill(ellipse(ex + 1.0, ey + 1.2, rx, ry), GREEN_D)
    for ex, ey, rx, ry in clusters:
        c.fill(ellipse(ex, ey, rx, ry), leaves(ex, ey, rx, ry))
    # A few limbs show through the lower crown.
    for dx in (-0.3, 0.3):
        c.fill(stroke([(cx + dx * width * 0.45, top + height * 0.5),
                       (cx + dx * width * 0.6, top + height * 0.6)], 1.2), trunk)


def writing(c, x, y, count, size, width, colour, seed):
    """A column of `count` made-up characters, each `size` units square and
    centred on x, as vertical writing looks from a distance."""
    state = seed

    def rand():
        nonlocal state
        state = (state * 1103515245 + 12345) % 2147483648
        return state / 2147483648.0
    h = size * 0.38
    for _ in range(count):
        cy = y + size / 2
        parts = [
            [(x - h, cy - h * 0.6), (x + h, cy - h * 0.6)],
            [(x - h * 0.8, cy + h * 0.2), (x + h * 0.8, cy + h * 0.2)],
            [(x + (rand() - 0.5) * h, cy - h), (x + (rand() - 0.5) * h, cy + h)],
            [(x - h, cy + h), (x - h * 0.2, cy + h * 0.1)],
            [(x + h * 0.2, cy + h * 0.1), (x + h, cy + h)],
            [(x - h, cy - h), (x - h, cy + h * 0.7)],
        ]
        for i in range(len(parts)):
            if i < 2 or rand() < 0.55:
                c.fill(stroke(parts[i], width), colour)
        y += size


def about():
    c = Canvas(160, 103, CREAM, scale=4)
    c.fill(rect(0, 0, 160, 103), vertical((196, 224, 248), (246, 244, 228), 0, 80))
    c.fill(polygon([(0, 90), (40, 86), (100, 88), (160, 84), (160, 103), (0, 103)]),
           vertical(GREEN_L, GREEN, 84, 103))

    # The postcard: red postal code boxes at the top right, a stamp at the
    # top left, the address and the name written vertically.
    card = (9, 7, 71, 97)
    c.fill(rect(card[0] + 2, card[1] + 2, card[2] + 2, card[3] + 2), (150, 156, 150))
    c.fill(rect(*card), WHITE, GREY_M, 0.5)
    c.fill(rect(13, 11, 29, 32), PINK, RED, 0.75)                 # the stamp
    c.fill(rect(20.3, 23, 21.7, 29), BROWN)
    c.fill(ellipse(21, 20.5, 5.5, 5), lambda x, y: GREEN_L if y < 21.5 else GREEN)
    for i in range(7):
        x = 33 + i * 5.2 + (1.6 if i >= 3 else 0)
        c.fill(rect(x, 12, x + 4.4, 19), WHITE, RED, 0.6)
    digits = ['1', '0', '5', '0', '1', '0', '5']
    for i, d in enumerate(digits):
        x = 33 + i * 5.2 + (1.6 if i >= 3 else 0)
        text(c, d, x + 1.0, 13.3, 4.4, 0.55, INK)
    # Address (right column, two lines) and name (centre, larger), written
    # top to bottom in made-up characters.
    writing(c, 63.5, 25, 12, 4.0, 0.55, INK, seed=3)
    writing(c, 58.5, 31, 9, 4.0, 0.55, INK, seed=7)
    writing(c, 41.5, 28, 5, 10.5, 1.25, INK, seed=11)
    # Sender at the bottom left, small, with its code boxes.
    writing(c, 22.5, 52, 8, 3.6, 0.5, GREY_D, seed=5)
    writing(c, 17.5, 58, 5, 4.2, 0.6, GREY_D, seed=9)
    for i in range(7):
        c.fill(rect(12 + i * 3.4, 88, 12 + i * 3.4 + 2.8, 92.5), WHITE, RED, 0.4)

    # The tree and the title.
    zelkova(c, 118, 90, 62, 74)
    text(c, 'Zelkovane', 86, 6, 9.0, 1.6, (22, 70, 36))
    text(c, 'Ver1.05', 124, 18.5, 5.0, 0.9, GREY_D)
    return c


# ---------------------------------------------------------------- icons

POSTAL_MARK = {
    32: ["##########",
         "##########",
         "          ",
         "##########",
         "##########",
         "    ##    ",
         "    ##    ",
         "    ##    ",
         "    ##    ",
         "    ##    ",
         "    ##    "],
    16: ["#####",
         "     ",
         "#####",
         "  #  ",
         "  #  ",
         "  #  "],
}

CLEAR = (255, 0, 255)   # marks see-through icon pixels; never drawn


def icon(size):
    """A postcard with the red postal mark, and a small zelkova in front of
    it on the large icon."""
    c = Canvas(size, size, CLEAR)
    if size == 32:
        c.fill(rect(6, 1, 26, 31), SHADOW)
        c.fill(rect(4, 0, 24, 30), WHITE, INK)
        c.pattern(POSTAL_MARK[32], 8, 4, {'#': RED})
        c.fill(rect(8, 18, 9, 26), GREY_M)
        c.fill(rect(11, 18, 12, 23), GREY_M)
        c.fill(rect(22, 20, 25, 32), BROWN_D)
        c.fill(polygon([(18, 23), (22, 19), (25, 19), (29, 23), (28, 24), (23.5, 21), (19, 24)]),
               BROWN_D)
        c.fill(ellipse(24, 15.5, 7.6, 6.0), GREEN, GREEN_D)
        c.fill(ellipse(22.2, 13.6, 4.0, 2.6), GREEN_L)
    else:
        c.fill(rect(2, 0, 14, 16), WHITE, INK)
        c.pattern(POSTAL_MARK[16], 5, 3, {'#': RED})
        c.fill(rect(4, 11, 12, 12), GREY_M)
        c.fill(rect(4, 13, 10, 14), GREY_M)
    return c


# ---------------------------------------------------------------- main


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    write('toolbar.bmp', bmp8(toolbar(), keep=(FACE,)))
    write('about.bmp', bmp8(about().pixels()))
    write('zelkovane.ico', ico8(icon(32).pixels(), CLEAR))
    write('zelkovane_small.ico', ico8(icon(16).pixels(), CLEAR))
