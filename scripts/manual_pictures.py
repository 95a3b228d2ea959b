#!/usr/bin/env python3
"""The screenshots of the user's manual.

    manual_pictures.py resolve SOURCE_MD PICTURE_DIR OUT_MD
        Writes the manual's Markdown with every picture `![caption](name.png)`
        pointing at PICTURE_DIR/name.png; a picture that is not there becomes
        a visible placeholder box, and a warning line
        "warning: picture name.png is missing" goes to standard error.
    manual_pictures.py list SOURCE_MD
        Prints the picture names the manual uses, one a line.
    manual_pictures.py refresh SOURCE_MD SCREENSHOT_DIR PICTURE_DIR
        Brings PICTURE_DIR up to date with the screenshots in SCREENSHOT_DIR:
        each is stored as a small palette PNG, and a stored picture is
        replaced only when its pixels differ. Prints one line per picture
        replaced and a summary. `make test` refreshes build/manual/pictures
        (a copy of manual/pictures) from the end-to-end tests' screenshots.
    manual_pictures.py copy SOURCE_MD FROM_DIR PICTURE_DIR
        Copies each picture of FROM_DIR whose pixels differ from the one in
        PICTURE_DIR as it is: `make manual-pictures` brings manual/pictures
        (kept in the repository, so that a fresh checkout's manual has its
        pictures) up to date with build/manual/pictures.

The pictures are the screenshots the end-to-end tests save, so the manual
shows the program as it is. Standard library and ImageMagick.
"""

import html
import os
import re
import shutil
import subprocess
import sys
import tempfile

PICTURE = re.compile(r"!\[([^\]]*)\]\(([A-Za-z0-9_.-]+\.png)\)")


def pictures(text):
    return [m.group(2) for m in PICTURE.finditer(text)]


def resolve(text, picture_dir):
    missing = []

    def one(m):
        caption, name = m.group(1), m.group(2)
        path = os.path.join(picture_dir, name)
        if os.path.isfile(path):
            return "![%s](%s)" % (caption, os.path.abspath(path))
        missing.append(name)
        return ('<div class="missing-picture">（画像 %s はまだありません）<br/>%s</div>'
                % (html.escape(name), html.escape(caption)))

    return PICTURE.sub(one, text), missing


def same_pixels(a, b):
    """True when the two pictures have the same size and pixels."""
    result = subprocess.run(["compare", "-metric", "AE", a, b, "null:"],
                            capture_output=True, text=True)
    return result.returncode == 0


def refresh(names, screenshot_dir, picture_dir):
    """Stores the screenshots that changed; returns (replaced, absent)."""
    os.makedirs(picture_dir, exist_ok=True)
    replaced, absent = [], []
    for name in names:
        shot = os.path.join(screenshot_dir, name)
        stored = os.path.join(picture_dir, name)
        if not os.path.isfile(shot):
            absent.append(name)
            continue
        fd, small = tempfile.mkstemp(suffix=".png", dir=picture_dir, prefix=".new-")
        os.close(fd)
        try:
            # Screenshots have few colours: 256 without dithering keep them
            # sharp at a fraction of the size.
            subprocess.run(["convert", shot, "-strip", "+dither", "-colors", "256",
                            "-define", "png:compression-level=9", "PNG8:" + small],
                           check=True, capture_output=True)
            if os.path.isfile(stored) and same_pixels(stored, small):
                continue
            os.chmod(small, 0o644)
            os.replace(small, stored)
            replaced.append(name)
        finally:
            if os.path.exists(small):
                os.remove(small)
    return replaced, absent


def copy(names, from_dir, picture_dir):
    """Copies the pictures whose pixels differ; returns the names copied."""
    copied = []
    for name in names:
        new = os.path.join(from_dir, name)
        stored = os.path.join(picture_dir, name)
        if not os.path.isfile(new) or (os.path.isfile(stored) and same_pixels(stored, new)):
            continue
        shutil.copyfile(new, stored)
        copied.append(name)
    return copied


def main(argv):
    if len(argv) == 5 and argv[1] == "refresh":
        with open(argv[2], encoding="utf-8") as f:
            names = pictures(f.read())
        replaced, absent = refresh(names, argv[3], argv[4])
        for name in replaced:
            print("manual: picture %s refreshed from the screenshots" % name)
        print("manual: %d of %d pictures refreshed, %d not saved by the tests"
              % (len(replaced), len(names), len(absent)))
        return 0
    if len(argv) == 5 and argv[1] == "copy":
        with open(argv[2], encoding="utf-8") as f:
            names = pictures(f.read())
        copied = copy(names, argv[3], argv[4])
        for name in copied:
            print("manual: picture %s copied into %s" % (name, argv[4]))
        print("manual: %d of %d pictures copied" % (len(copied), len(names)))
        return 0
    if len(argv) == 3 and argv[1] == "list":
        with open(argv[2], encoding="utf-8") as f:
            for name in pictures(f.read()):
                print(name)
        return 0
    if len(argv) == 5 and argv[1] == "resolve":
        with open(argv[2], encoding="utf-8") as f:
            text, missing = resolve(f.read(), argv[3])
        with open(argv[4], "w", encoding="utf-8") as f:
            f.write(text)
        for name in missing:
            print("warning: picture %s is missing" % name, file=sys.stderr)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
