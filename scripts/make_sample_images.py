#!/usr/bin/env python3
"""Writes the sample pictures of a Zelkovane working folder:

    scripts/make_sample_images.py OUTDIR

- base1.bmp: the address side of a Japanese postcard, 400 x 592 pixels
  (4 pixels per millimetre of a 100 x 148 mm card, 24 bits per pixel), with
  the addressee's seven postal code boxes at Japan Post's geometry and the
  sender's seven boxes where the default card layout puts the sender's
  digits. The cards' default background.
- yousi.gdt: a plain sheet of paper (a BMP file under that name), 210 x 297
  pixels, which the print position dialog stretches over the paper size.

Existing files in OUTDIR are replaced; scripts/seed_data.sh copies them into
a data folder without overwriting anything there. Standard library only.
"""

import os
import struct
import sys

PX_PER_MM = 4
CARD_W, CARD_H = 100 * PX_PER_MM, 148 * PX_PER_MM

PAPER = (252, 251, 245)
EDGE = (200, 198, 190)
RED = (214, 48, 39)
STAMP = (225, 150, 145)

# Addressee postal code boxes (Japan Post): 5.7 mm wide, 8.0 mm high, their
# tops 12.0 mm below the card's top edge, the seventh box's right edge 8.0 mm
# from the card's right edge; gaps 1.3 mm between boxes 1 to 3, 1.9 mm
# between boxes 3 and 4 and 1.1 mm between boxes 4 to 7.
BOX_W_MM, BOX_H_MM, BOX_TOP_MM, RIGHT_MARGIN_MM = 5.7, 8.0, 12.0, 8.0
GAPS_MM = [1.3, 1.3, 1.9, 1.1, 1.1, 1.1]  # after boxes 1 to 6

# Where the default layout draws the sender's digits (card pixels): the
# three-digit group from x 29, the four-digit group from x 80, a step of 16,
# the cells' tops at y 493, in a font 19 pixels high.
SENDER_X1, SENDER_X2, SENDER_STEP, SENDER_Y, SENDER_FONT = 29, 80, 16, 493, 19


class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def fill(self, left, top, right, bottom, colour):
        """Fills the pixels left <= x < right, top <= y < bottom."""
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.pixels[y]
            for x in range(max(left, 0), min(right, self.width)):
                row[x] = colour

    def frame(self, left, top, right, bottom, colour, thickness=1):
        t = thickness
        self.fill(left, top, right, top + t, colour)
        self.fill(left, bottom - t, right, bottom, colour)
        self.fill(left, top, left + t, bottom, colour)
        self.fill(right - t, top, right, bottom, colour)

    def dashed_frame(self, left, top, right, bottom, colour, dash=6, gap=4):
        period = dash + gap
        for x in range(left, right):
            if (x - left) % period < dash:
                self.fill(x, top, x + 1, top + 1, colour)
                self.fill(x, bottom - 1, x + 1, bottom, colour)
        for y in range(top, bottom):
            if (y - top) % period < dash:
                self.fill(left, y, left + 1, y + 1, colour)
                self.fill(right - 1, y, right, y + 1, colour)

    def bmp(self):
        """The picture as an uncompressed 24-bit BMP file, bottom row first."""
        row_bytes = (self.width * 3 + 3) & ~3
        image = bytearray()
        for row in reversed(self.pixels):
            for r, g, b in row:
                image += bytes((b, g, r))
            image += bytes(row_bytes - self.width * 3)
        header = struct.pack('<2sIHHI', b'BM', 54 + len(image), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(image),
                           0, 0, 0, 0)
        return header + info + bytes(image)


def px(mm):
    return int(round(mm * PX_PER_MM))


def addressee_boxes():
    """(left, top, right, bottom) in pixels of the seven boxes, left to right."""
    right = 100.0 - RIGHT_MARGIN_MM
    boxes = []
    for i in range(7):
        left = right - BOX_W_MM
        boxes.append((left, BOX_TOP_MM, right, BOX_TOP_MM + BOX_H_MM))
        if i < 6:
            right = left - GAPS_MM[5 - i]
    return [tuple(px(v) for v in box) for box in reversed(boxes)]


def sender_boxes():
    """Boxes around the sender's digit cells of the default layout."""
    xs = [SENDER_X1 + i * SENDER_STEP for i in range(3)]
    xs += [SENDER_X2 + i * SENDER_STEP for i in range(4)]
    top, bottom = SENDER_Y - 3, SENDER_Y + SENDER_FONT + 3
    return [(x - 2, top, x + 12, bottom) for x in xs]


def postcard():
    card = Canvas(CARD_W, CARD_H, PAPER)
    card.frame(0, 0, CARD_W, CARD_H, EDGE)
    # The place of the stamp imprint, top left.
    card.dashed_frame(px(6), px(6), px(6 + 22), px(6 + 27), STAMP)

    boxes = addressee_boxes()
    for i, (left, top, right, bottom) in enumerate(boxes):
        # The first three boxes are drawn with heavier lines.
        card.frame(left, top, right, bottom, RED, 3 if i < 3 else 2)
    # The short dash between the third and the fourth box.
    mid = (boxes[0][1] + boxes[0][3]) // 2
    card.fill(boxes[2][2] + 1, mid - 1, boxes[3][0] - 1, mid + 1, RED)

    sender = sender_boxes()
    for left, top, right, bottom in sender:
        card.frame(left, top, right, bottom, RED)
    mid = (sender[0][1] + sender[0][3]) // 2
    card.fill(sender[2][2] + 1, mid, sender[3][0] - 1, mid + 1, RED)
    return card


def sheet_of_paper():
    sheet = Canvas(210, 297, (255, 255, 255))
    sheet.frame(0, 0, 210, 297, (150, 150, 150))
    return sheet


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: make_sample_images.py OUTDIR\n')
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for name, picture in (('base1.bmp', postcard()), ('yousi.gdt', sheet_of_paper())):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(picture.bmp())
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
