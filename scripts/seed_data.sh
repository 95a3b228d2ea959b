#!/usr/bin/env bash
# Seeds a Zelkovane data folder with the samples of samples/:
#   scripts/seed_data.sh DATA_DIR
# - When DATA_DIR holds none of the data files zelko1.txt, zelko2.txt and
#   zelko3.txt, the sample sender and addressees are written there as the
#   program reads them (UTF-16LE with a byte order mark, CR LF line ends).
#   A folder with any data file of its own is left as it is: samples are
#   never mixed into a user's data.
# - base1.bmp and yousi.gdt are drawn by scripts/make_sample_images.py and
#   added when missing.
# Nothing that exists in DATA_DIR is overwritten.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

[ $# -eq 1 ] || zk_die "usage: seed_data.sh DATA_DIR"
DATA_DIR="$1"
SAMPLES="$ZK_ROOT/samples"
mkdir -p "$DATA_DIR" || zk_die "cannot create $DATA_DIR"
command -v python3 >/dev/null || zk_die "python3 is needed to seed $DATA_DIR"

# UTF-8 text with LF line ends -> UTF-16LE with byte order mark and CR LF.
# The file is created exclusively: one that appeared meanwhile is kept.
to_data_file() {
    python3 - "$1" "$2" <<'PY'
import sys
source, target = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-8") as f:
    text = f.read().replace("\r\n", "\n").replace("\n", "\r\n")
with open(target, "xb") as f:
    f.write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
}

seeded=()
if [ ! -e "$DATA_DIR/zelko1.txt" ] && [ ! -e "$DATA_DIR/zelko2.txt" ] &&
    [ ! -e "$DATA_DIR/zelko3.txt" ]; then
    for name in zelko1.txt zelko2.txt; do
        to_data_file "$SAMPLES/$name" "$DATA_DIR/$name" || zk_die "writing $DATA_DIR/$name failed"
        seeded+=("$name")
    done
fi

if [ ! -e "$DATA_DIR/base1.bmp" ] || [ ! -e "$DATA_DIR/yousi.gdt" ]; then
    tmp="$(mktemp -d)" || zk_die "no temporary folder"
    if python3 "$ZK_ROOT/scripts/make_sample_images.py" "$tmp"; then
        for name in base1.bmp yousi.gdt; do
            if [ ! -e "$DATA_DIR/$name" ] && cp -n "$tmp/$name" "$DATA_DIR/$name"; then
                seeded+=("$name")
            fi
        done
    fi
    rm -rf "$tmp"
fi

if [ ${#seeded[@]} -gt 0 ]; then
    zk_say "seed: ${seeded[*]} -> $DATA_DIR"
fi
exit 0
