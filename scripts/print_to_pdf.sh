#!/usr/bin/env bash
# The port of the printer "Zelkovane PDF" that scripts/wine_prefix.sh sets up:
# Wine's spooler runs this script for every job printed on that printer,
# with the job's PostScript on standard input:
#   scripts/print_to_pdf.sh < job.ps
# It writes the job as Zelkovane-YYYYMMDD-HHMMSS.pdf (a counter is added when
# that name is taken) into the folder named by ZK_PDF_DIR, which
# scripts/run.sh sets to the data folder of `make run`; without it, into the
# current directory. Should the conversion fail, the PostScript is kept
# under the same name with .ps instead. Messages go to
# build/logs/print-pdf.log; nothing is written to standard output, which the
# spooler does not read.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LOG="$ROOT/build/logs/print-pdf.log"
mkdir -p "$(dirname "$LOG")" 2>/dev/null
exec 3>>"$LOG" 2>/dev/null || exec 3>/dev/null
say() { printf '%s %s\n' "$(date '+%F %T')" "$*" >&3; }

OUT_DIR="${ZK_PDF_DIR:-$PWD}"
if ! mkdir -p "$OUT_DIR" 2>/dev/null || [ ! -w "$OUT_DIR" ]; then
    say "cannot write into $OUT_DIR; using /tmp"
    OUT_DIR=/tmp
fi

# The whole job first: the spooler must be able to hand it over even when the
# conversion fails. The partial files are hidden until they are complete.
stamp="$(date '+%Y%m%d-%H%M%S')"
job="$(mktemp "$OUT_DIR/.Zelkovane-$stamp-XXXXXX.ps")" || {
    say "no temporary file in $OUT_DIR"
    cat >/dev/null
    exit 1
}
trap 'rm -f "$job" "$job.pdf"' EXIT
cat >"$job"
if [ ! -s "$job" ]; then
    say "empty job, nothing written"
    exit 0
fi

# The first free name of this second.
name="Zelkovane-$stamp"
n=1
while [ -e "$OUT_DIR/$name.pdf" ] || [ -e "$OUT_DIR/$name.ps" ]; do
    n=$((n + 1))
    name="Zelkovane-$stamp-$n"
done

if command -v ps2pdf >/dev/null &&
    timeout 300 ps2pdf -dSAFER "$job" "$job.pdf" >&3 2>&1 && [ -s "$job.pdf" ]; then
    # The finished PDF appears under its name last, in one step.
    rm -f "$job"
    mv "$job.pdf" "$OUT_DIR/$name.pdf"
    say "printed $OUT_DIR/$name.pdf"
else
    mv "$job" "$OUT_DIR/$name.ps"
    say "ps2pdf failed; the PostScript is kept as $OUT_DIR/$name.ps"
    exit 1
fi
