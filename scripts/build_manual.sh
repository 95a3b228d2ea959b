#!/usr/bin/env bash
# Builds the user's manual build/manual/Zelkovane_manual.pdf from
# manual/zelkovane_manual.md and manual/manual.css:
#   scripts/build_manual.sh [PICTURE_DIR]
# Pandoc turns the Markdown into one HTML page with a table of contents;
# WeasyPrint lays it out on A4 with page numbers, in the IPA fonts. The
# screenshots come from PICTURE_DIR (default manual/pictures, kept in the
# repository; `make test` passes build/manual/pictures, refreshed from what
# the end-to-end tests save); a missing one becomes a visible placeholder box and a warning, so
# the manual always builds. scripts/manual_check.py is the strict check. Messages of the tools go to build/logs/manual.log.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

PICTURES="$(realpath -m "${1:-$ZK_ROOT/manual/pictures}")"
SRC="$ZK_ROOT/manual"
OUT="$ZK_BUILD/manual"
PDF="$OUT/Zelkovane_manual.pdf"
LOG="$ZK_LOGS/manual.log"

for tool in pandoc weasyprint python3; do
    command -v "$tool" >/dev/null || zk_die "$tool is missing (run scripts/setup.sh)"
done
mkdir -p "$OUT" || exit 1
start=$SECONDS
: >"$LOG"

python3 "$ZK_ROOT/scripts/manual_pictures.py" resolve "$SRC/zelkovane_manual.md" "$PICTURES" \
    "$OUT/manual.md" 2>"$OUT/missing.txt" || zk_die "preparing the manual's pictures failed"
cat "$OUT/missing.txt" >>"$LOG"
sed 's/^/manual: /' "$OUT/missing.txt"

# The date of the title page: the day the manual's source last changed.
date="$(git -C "$ZK_ROOT" log -1 --format=%cs -- manual 2>/dev/null)"
[ -n "$date" ] || date="$(date +%F)"

if ! pandoc "$OUT/manual.md" -f markdown -t html5 --standalone --toc --toc-depth=2 \
    --metadata date="$date" --css "$SRC/manual.css" -o "$OUT/manual.html" >>"$LOG" 2>&1; then
    zk_tail "$LOG" 15
    zk_die "pandoc failed (log ${LOG#$ZK_ROOT/})"
fi
# Written next to the final name and moved into place, so a failed build
# never leaves half a PDF where `make run` and `make dist` take it from.
if ! weasyprint --base-url "$OUT/" "$OUT/manual.html" "$PDF.tmp" >>"$LOG" 2>&1; then
    rm -f "$PDF.tmp"
    zk_tail "$LOG" 15
    zk_die "WeasyPrint failed (log ${LOG#$ZK_ROOT/})"
fi
mv -f "$PDF.tmp" "$PDF" || exit 1

missing="$(grep -c . "$OUT/missing.txt")"
note=""
[ "${missing:-0}" -gt 0 ] && note=", $missing picture(s) missing (placeholders)"
zk_say "manual: ${PDF#$ZK_ROOT/} built in $((SECONDS - start)) s$note"
