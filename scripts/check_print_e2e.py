#!/usr/bin/env python3
"""Checks the pages that the end-to-end print tests had Zelkovane.exe print
against where the card mapping puts every text.

    scripts/check_print_e2e.py ARTIFACTS_DIR

For each job NAME in print_e2e_card and print_e2e_range the test left:

    NAME.ps              the PostScript of the program's job
    NAME-calibration.ps  every text of the job printed by plain GDI calls at
                         known points, in the same fonts on the same paper
    NAME.expect          where the card mapping put each text (written by
                         the test, device pixels):
        page-size WIDTH HEIGHT DPI
        pages N
        window LABEL LEFT TOP RIGHT BOTTOM  where LABEL's ink may lie around its origin
        ref PAGE X Y LABEL                  LABEL drawn at (X, Y) on a calibration page
        at PAGE X Y LABEL                   the job drew LABEL at (X, Y) on PAGE
        missing PAGE X Y LABEL              LABEL at (X, Y) would leave ink; none allowed
        blank PAGE LEFT TOP RIGHT BOTTOM LABEL  no ink at all in this box (a margin)

Both jobs are rasterised with Ghostscript at the printer's resolution; the
ink of each text on the calibration pages, relative to its origin, is that
text's ink offset. The checks:

- the job has N pages ("%%Page:" lines and rendered pages), each of the
  paper's size;
- "at": around the point where the mapping put a text lies ink with the
  same box as on the calibration page, each edge within TOLERANCE pixels;
- "missing": no ink where that text would have left it;
- "blank": no ink in the box;
- no ink anywhere on a page outside the expected ink boxes (grown by
  TOLERANCE).

Leaves NAME.png (page 1 at 150 dpi) and, for a job of several pages,
NAME-pages.png (all pages side by side, small) for a person to look at.
Prints one line per check and ends with "N passed, N failed"; exits 1 when
anything failed or the inputs are missing.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_print_card import Raster, grow, ink_box, stray_ink  # noqa: E402

JOBS = ("print_e2e_card", "print_e2e_range", "print_e2e_preset", "print_e2e_fitted",
        "print_e2e_vertical_on", "print_e2e_vertical_off")
TOLERANCE = 4  # device pixels, for rasteriser differences
SEARCH = 24    # how far around an expected box ink is still attributed to it


def read_expect(path):
    plan = {"size": None, "dpi": 600, "pages": None, "windows": {}, "ref": [], "at": [],
            "missing": [], "blank": []}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if not parts:
                continue
            kind = parts[0]
            if kind == "page-size":
                plan["size"] = (int(parts[1]), int(parts[2]))
                plan["dpi"] = int(parts[3])
            elif kind == "pages":
                plan["pages"] = int(parts[1])
            elif kind == "window":
                plan["windows"][parts[1]] = tuple(int(v) for v in parts[2:6])
            elif kind in ("ref", "at", "missing"):
                plan[kind].append((int(parts[1]), int(parts[2]), int(parts[3]), parts[4]))
            elif kind == "blank":
                plan["blank"].append((int(parts[1]), tuple(int(v) for v in parts[2:6]), parts[6]))
    return plan


def count_pages(ps_path):
    with open(ps_path, "rb") as f:
        return sum(1 for line in f if line.startswith(b"%%Page:"))


def check_job(folder, name, result):
    ps = os.path.join(folder, name + ".ps")
    calibration_ps = os.path.join(folder, name + "-calibration.ps")
    expect = os.path.join(folder, name + ".expect")
    inputs = (ps, calibration_ps, expect)
    if not all(os.path.isfile(p) for p in inputs):
        missing = ", ".join(os.path.basename(p) for p in inputs if not os.path.isfile(p))
        result(False, f"{name}: {missing} missing (did the e2e print test run?)")
        return
    plan = read_expect(expect)
    wanted = plan["pages"] or 0
    in_ps = count_pages(ps)
    result(in_ps == wanted, f"{name}: {in_ps} pages in the PostScript, expected {wanted}")

    job = calibration = None
    try:
        job = Raster(ps, plan["dpi"], os.path.join(folder, name + "-job-%d.pgm"))
        calibration = Raster(calibration_ps, plan["dpi"],
                             os.path.join(folder, name + "-calibration-%d.pgm"))
        result(job.count == wanted, f"{name}: Ghostscript rendered {job.count} pages")
        offsets = ink_offsets(name, plan, calibration, result)
        for number in range(1, min(job.count, wanted) + 1):
            check_page(name, number, job.page(number), plan, offsets, result)
    except (OSError, ValueError, subprocess.SubprocessError) as e:
        result(False, f"{name}: Ghostscript could not render the jobs: {e}")
    finally:
        for raster in (job, calibration):
            if raster:
                raster.remove_files()
    pictures(folder, name, ps, wanted)


def ink_offsets(name, plan, calibration, result):
    """Each text's ink box relative to its origin, from the calibration."""
    offsets = {}
    for number, x, y, label in plan["ref"]:
        raster = calibration.page(number)
        if raster is None:
            result(False, f"{name} calibration {label}: page {number} was not printed")
            continue
        width, height, rows = raster
        w = plan["windows"][label]
        found = ink_box(rows, width, height, (x + w[0], y + w[1], x + w[2], y + w[3]))
        if found is None:
            result(False, f"{name} calibration {label}: no ink at page {number} ({x}, {y})")
            continue
        offsets[label] = (found[0] - x, found[1] - y, found[2] - x, found[3] - y)
    return offsets


def check_page(name, number, raster, plan, offsets, result):
    width, height, rows = raster
    where = f"{name} page {number}"
    if plan["size"]:
        w, h = plan["size"]
        ok = abs(width - w) <= 12 and abs(height - h) <= 12
        result(ok, f"{where}: {width} x {height} pixels, paper {w} x {h}")

    allowed = []
    for page, x, y, label in plan["at"]:
        if page != number or label not in offsets:
            continue
        o = offsets[label]
        box = (x + o[0], y + o[1], x + o[2], y + o[3])
        allowed.append(grow(box, TOLERANCE))
        found = ink_box(rows, width, height, grow(box, SEARCH))
        if found is None:
            result(False, f"{where} {label} at ({x}, {y}): no ink near {box}")
            continue
        delta = [found[i] - box[i] for i in range(4)]
        ok = all(abs(d) <= TOLERANCE for d in delta)
        result(ok, f"{where} {label} at ({x}, {y}): ink {tuple(found)}, expected {box}, "
                   f"edges off by {delta}")

    for page, x, y, label in plan["missing"]:
        if page != number or label not in offsets:
            continue
        o = offsets[label]
        box = (x + o[0], y + o[1], x + o[2], y + o[3])
        found = ink_box(rows, width, height, box)
        result(found is None, f"{where} {label} not at ({x}, {y}): no ink in {box}"
                              + ("" if found is None else f", but ink at {tuple(found)}"))

    for page, box, label in plan["blank"]:
        if page != number:
            continue
        found = ink_box(rows, width, height, box)
        result(found is None, f"{where} {label}: no ink in {box}"
                              + ("" if found is None else f", but ink at {tuple(found)}"))

    count, first = stray_ink(rows, width, allowed)
    result(count == 0, f"{where}: no ink outside the expected texts"
                       + ("" if count == 0 else f" ({count} pixels, first at {first})"))


def pictures(folder, name, ps, pages):
    """Pictures of the printed pages for a person: page 1 at 150 dpi and,
    for several pages, all of them side by side."""
    gs = ["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m"]
    subprocess.run(gs + ["-r150", "-dFirstPage=1", "-dLastPage=1",
                         "-sOutputFile=" + os.path.join(folder, name + ".png"), ps],
                   check=False, timeout=300)
    if pages < 2:
        return
    small = os.path.join(folder, name + "-small-%d.png")
    subprocess.run(gs + ["-r40", "-sOutputFile=" + small, ps], check=False, timeout=300)
    parts = [small % n for n in range(1, pages + 1) if os.path.isfile(small % n)]
    convert = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
    if parts:
        subprocess.run([convert] + parts + ["-bordercolor", "gray60", "-border", "2", "+append", "+repage", "-strip",
                                            os.path.join(folder, name + "-pages.png")],
                       check=False, timeout=120)
    for part in parts:
        os.remove(part)


def main():
    if len(sys.argv) != 2:
        print("usage: check_print_e2e.py ARTIFACTS_DIR", file=sys.stderr)
        return 2
    folder = sys.argv[1]
    passed = failed = 0

    def result(ok, text):
        nonlocal passed, failed
        print(("ok    " if ok else "FAIL  ") + text)
        if ok:
            passed += 1
        else:
            failed += 1

    for name in JOBS:
        check_job(folder, name, result)
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
