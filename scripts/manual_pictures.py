#!/usr/bin/env python3
"""The screenshots of the user's manual.

    manual_pictures.py resolve SOURCE_MD PICTURE_DIR OUT_MD
        Writes the manual's Markdown with every picture `![caption](name.png)`
        pointing at PICTURE_DIR/name.png; a picture that is not there becomes
        a visible placeholder box, and a warning line
        "warning: picture name.png is missing" goes to standard error.
    manual_pictures.py list SOURCE_MD
        Prints the picture names the manual uses, one a line.

The pictures are the screenshots the end-to-end tests save, so the manual
always shows the program as it is. Standard library only.
"""

import html
import os
import re
import sys

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


def main(argv):
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
