#!/usr/bin/env bash
# `make dist`: the package a Windows user downloads,
#   build/dist/Zelkovane-<version>-win64.zip
# holding Zelkovane.exe, Zelkovane_manual.pdf, the sample background
# base1.bmp, the paper picture yousi.gdt and "はじめにお読みください.txt"
# (UTF-16LE with a byte order mark and CR LF, so Notepad shows it). No data
# files: a first start begins with an empty address book.
#   scripts/dist.sh             build the program and the manual, then pack
#   scripts/dist.sh --prebuilt  pack what build/ already holds (the test run)
# The manual shows the pictures of manual/pictures (the screenshots of the
# end-to-end tests as last committed with `make manual-pictures`); the test
# run's package shows those the run refreshed into build/manual/pictures.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

EXE="$ZK_BUILD/windows/Zelkovane.exe"
PDF="$ZK_BUILD/manual/Zelkovane_manual.pdf"
DIST="$ZK_BUILD/dist"

if [ "${1:-}" != "--prebuilt" ]; then
    bash "$ZK_ROOT/scripts/setup.sh" || exit 1
    bash "$ZK_ROOT/scripts/build.sh" windows Zelkovane || exit 1
    bash "$ZK_ROOT/scripts/build_manual.sh" || exit 1
    if [ -s "$ZK_BUILD/manual/missing.txt" ]; then
        zk_say "dist: WARNING: the manual lacks pictures in manual/pictures; run \`make test\` and \`make manual-pictures\` to refresh them"
    fi
fi
[ -f "$EXE" ] || zk_die "build/windows/Zelkovane.exe is missing"
[ -f "$PDF" ] || zk_die "build/manual/Zelkovane_manual.pdf is missing"

# The version the program shows in its version resource.
version="$(sed -n 's/.*VALUE "ProductVersion", "\([^"]*\)".*/\1/p' "$ZK_ROOT/app/zelkovane.rc" | head -n 1)"
[ -n "$version" ] || zk_die "no ProductVersion in app/zelkovane.rc"
ZIP="$DIST/Zelkovane-$version-win64.zip"

images="$(mktemp -d)" || exit 1
trap 'rm -rf "$images"' EXIT
python3 "$ZK_ROOT/scripts/make_sample_images.py" "$images" || zk_die "drawing the sample pictures failed"

mkdir -p "$DIST" || exit 1
# Python writes the Japanese file name with the zip format's UTF-8 flag,
# which Windows' "Extract all" honours.
python3 - "$ZIP" "$EXE" "$PDF" "$images/base1.bmp" "$images/yousi.gdt" \
    "$ZK_ROOT/manual/first_read_ja.txt" <<'PY' || zk_die "writing $ZIP failed"
import os, sys, zipfile
zip_path, exe, pdf, base, paper, readme = sys.argv[1:]
with open(readme, encoding="utf-8") as f:
    text = f.read().replace("\r\n", "\n").replace("\n", "\r\n")
tmp = zip_path + ".tmp"
with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
    z.write(exe, "Zelkovane.exe")
    z.write(pdf, "Zelkovane_manual.pdf")
    z.write(base, "base1.bmp")
    z.write(paper, "yousi.gdt")
    z.writestr("はじめにお読みください.txt", b"\xff\xfe" + text.encode("utf-16-le"))
os.replace(tmp, zip_path)
PY
zk_say "dist: ${ZIP#$ZK_ROOT/} ($(($(stat -c %s "$ZIP") / 1024)) KiB)"
