#!/usr/bin/env python3
"""Checks the cards printed by the Windows test PrintCard against where the
card mapping says their ink must land.

    scripts/check_print_card.py ARTIFACTS_DIR

Reads ARTIFACTS_DIR/print_card.ps (the PostScript the test printer wrote)
and ARTIFACTS_DIR/print_card.expect (written by the test), rasterises every
page with Ghostscript at the printer's resolution and checks:

- each page has the paper's size in pixels;
- calibration: every text printed at a known point ("ref") has ink inside
  its window; that ink, relative to the point, is the text's ink offset;
- "at" lines: around the point where the mapping put a text on a card page
  lies ink with the same box as at the calibration point, each edge within
  TOLERANCE pixels;
- "blank" lines: no ink at all in the box;
- "same" lines: two pages have the same ink, pixel for pixel;
- "room" lines: the ink found for a text lies inside the box of its line's
  column and room (within TOLERANCE). Across its column a line's ink may
  stand out by an eighth of the column's width: a brush face's upright
  characters reach that far past their cell on this driver, while a
  character laid on its side or set into the next column stands out by
  half a character or more;
- the ink of no two texts of a card page touches;
- no ink anywhere on a card page outside the expected ink boxes (grown by
  TOLERANCE).

Leaves print_card-N.png beside the inputs for a person to look at. Prints
one line per check and ends with "N passed, N failed"; exits 1 when
anything failed or the inputs are missing.
"""

import os
import subprocess
import sys

TOLERANCE = 4  # device pixels, for rasteriser differences
SEARCH = 24    # how far around an expected box ink is still attributed to it
DARK = 128     # grey levels below this are ink


def read_pgm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P5" or int(fields[3]) > 255:
        raise ValueError(f"{path}: not an 8-bit binary PGM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height]
    # One byte per pixel: 1 for ink, 0 for paper.
    table = bytes(1 if v < DARK else 0 for v in range(256))
    mask = pixels.translate(table)
    return width, height, [mask[y * width:(y + 1) * width] for y in range(height)]


def ink_box(rows, width, height, box):
    left, top, right, bottom = box
    left, top = max(left, 0), max(top, 0)
    right, bottom = min(right, width), min(bottom, height)
    found = None
    for y in range(top, bottom):
        row = rows[y]
        first = row.find(1, left, right)
        if first < 0:
            continue
        last = row.rfind(1, left, right)
        if found is None:
            found = [first, y, last + 1, y + 1]
        else:
            found[0] = min(found[0], first)
            found[2] = max(found[2], last + 1)
            found[3] = y + 1
    return found


def grow(box, by):
    return (box[0] - by, box[1] - by, box[2] + by, box[3] + by)


def stray_ink(rows, width, allowed):
    """Ink pixels of the page outside every allowed box: (count, first)."""
    count, first = 0, None
    for y, row in enumerate(rows):
        x = row.find(1)
        if x < 0:
            continue
        spans = sorted((b[0], b[2]) for b in allowed if b[1] <= y < b[3])
        while x >= 0:
            covered = next((s for s in spans if s[0] <= x < s[1]), None)
            if covered:
                x = row.find(1, covered[1]) if covered[1] < width else -1
                continue
            count += 1
            if first is None:
                first = (x, y)
            x = row.find(1, x + 1)
    return count, first


class Raster:
    """The pages of one PostScript file as ink masks, rendered once."""

    def __init__(self, ps, dpi, pattern):
        self.pattern = pattern
        self.pages = {}
        subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pgmraw",
                        f"-r{dpi}", f"-sOutputFile={pattern}", ps], check=True, timeout=300)
        self.count = 0
        while os.path.isfile(pattern % (self.count + 1)):
            self.count += 1

    def page(self, number):
        if number not in self.pages:
            path = self.pattern % number
            self.pages[number] = read_pgm(path) if os.path.isfile(path) else None
        return self.pages[number]

    def remove_files(self):
        for number in range(1, self.count + 1):
            path = self.pattern % number
            if os.path.isfile(path):
                os.remove(path)


def main():
    if len(sys.argv) != 2:
        print("usage: check_print_card.py ARTIFACTS_DIR", file=sys.stderr)
        return 2
    folder = sys.argv[1]
    ps = os.path.join(folder, "print_card.ps")
    expect = os.path.join(folder, "print_card.expect")
    passed = failed = 0

    def result(ok, text):
        nonlocal passed, failed
        print(("ok    " if ok else "FAIL  ") + text)
        if ok:
            passed += 1
        else:
            failed += 1

    def finish():
        print(f"{passed} passed, {failed} failed")
        return 0 if failed == 0 and passed > 0 else 1

    if not (os.path.isfile(ps) and os.path.isfile(expect)):
        result(False, "print_card.ps and print_card.expect are missing (did PrintCard run?)")
        return finish()

    size, dpi = None, 600
    windows, refs, ats, blanks, sames, rooms = {}, [], [], [], [], []
    with open(expect) as f:
        for line in f:
            parts = line.split()
            if not parts:
                continue
            kind = parts[0]
            if kind == "page-size":
                size, dpi = (int(parts[1]), int(parts[2])), int(parts[3])
            elif kind == "window":
                windows[parts[1]] = tuple(int(v) for v in parts[2:6])
            elif kind in ("ref", "at"):
                entry = (int(parts[1]), int(parts[2]), int(parts[3]), parts[4])
                (refs if kind == "ref" else ats).append(entry)
            elif kind == "same":
                sames.append((int(parts[1]), int(parts[2])))
            elif kind == "room":
                rooms.append((int(parts[1]), tuple(int(v) for v in parts[2:6]), parts[6]))
            elif kind == "blank":
                blanks.append((int(parts[1]), tuple(int(v) for v in parts[2:6]), parts[6]))

    try:
        rendered = Raster(ps, dpi, os.path.join(folder, "print_card-%d.pgm"))
    except (OSError, subprocess.SubprocessError) as e:
        result(False, f"Ghostscript could not render print_card.ps: {e}")
        return finish()
    page = rendered.page

    # Ink offsets of every text from the calibration pages.
    offsets = {}
    for number, x, y, label in refs:
        raster = page(number)
        if raster is None:
            result(False, f"calibration {label}: page {number} is not in the PostScript")
            continue
        width, height, rows = raster
        w = windows[label]
        found = ink_box(rows, width, height, (x + w[0], y + w[1], x + w[2], y + w[3]))
        if found is None:
            result(False, f"calibration {label}: no ink at page {number} ({x}, {y})")
            continue
        offsets[label] = (found[0] - x, found[1] - y, found[2] - x, found[3] - y)

    card_pages = sorted({a[0] for a in ats} | {b[0] for b in blanks})
    for number in card_pages:
        raster = page(number)
        if raster is None:
            result(False, f"page {number}: not in the PostScript")
            continue
        width, height, rows = raster
        if size:
            ok = abs(width - size[0]) <= 12 and abs(height - size[1]) <= 12
            result(ok, f"page {number}: {width} x {height} pixels, paper {size[0]} x {size[1]}")
        allowed = []
        inks = {}
        for p, x, y, label in ats:
            if p != number or label not in offsets:
                continue
            o = offsets[label]
            box = (x + o[0], y + o[1], x + o[2], y + o[3])
            allowed.append(grow(box, TOLERANCE))
            found = ink_box(rows, width, height, grow(box, SEARCH))
            if found is None:
                result(False, f"page {number} {label}: no ink near {box}")
                continue
            inks[label] = found
            delta = [found[i] - box[i] for i in range(4)]
            ok = all(abs(d) <= TOLERANCE for d in delta)
            result(ok, f"page {number} {label} at ({x}, {y}): ink {tuple(found)}, "
                       f"expected {box}, edges off by {delta}")
        for p, box, label in rooms:
            if p != number or label not in inks:
                continue
            ink = inks[label]
            across = (box[2] - box[0]) // 8
            room = (box[0] - TOLERANCE - across, box[1] - TOLERANCE,
                    box[2] + TOLERANCE + across, box[3] + TOLERANCE)
            ok = all(ink[i] >= room[i] for i in (0, 1)) and all(ink[i] <= room[i] for i in (2, 3))
            result(ok, f"page {number} {label}: ink {tuple(ink)} inside its room {box}")
        labels = sorted(inks)
        touching = [(a, b) for i, a in enumerate(labels) for b in labels[i + 1:]
                    if inks[a][0] <= inks[b][2] and inks[b][0] <= inks[a][2]
                    and inks[a][1] <= inks[b][3] and inks[b][1] <= inks[a][3]]
        result(not touching, f"page {number}: the ink of no two texts touches"
                             + ("" if not touching else f" ({touching[:3]})"))
        for p, box, label in blanks:
            if p != number:
                continue
            found = ink_box(rows, width, height, box)
            result(found is None, f"page {number} {label}: blank {box}"
                                  + ("" if found is None else f", ink at {tuple(found)}"))
        count, first = stray_ink(rows, width, allowed)
        result(count == 0, f"page {number}: no ink outside the expected items"
                           + ("" if count == 0 else f" ({count} pixels, first at {first})"))
        subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m",
                        "-r150", f"-dFirstPage={number}", f"-dLastPage={number}",
                        "-sOutputFile=" + os.path.join(folder, f"print_card-{number}.png"), ps],
                       check=False, timeout=300)

    for a, b in sames:
        first, second = page(a), page(b)
        if first is None or second is None:
            result(False, f"pages {a} and {b}: not both in the PostScript")
            continue
        differ = sum(1 for ra, rb in zip(first[2], second[2]) if ra != rb)
        ink = sum(row.count(1) for row in first[2])
        result(differ == 0 and ink > 0 and len(first[2]) == len(second[2]),
               f"pages {a} and {b}: the same pixels ({ink} ink pixels, {differ} rows differ)")

    rendered.remove_files()
    return finish()


if __name__ == "__main__":
    sys.exit(main())
