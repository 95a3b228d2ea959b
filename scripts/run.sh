#!/usr/bin/env bash
# `make run`: installs what is missing, builds the Windows program, prepares
# the Wine prefix build/wine-run and starts Zelkovane.exe there with its
# working directory in the data folder (data/ of the checkout unless given):
#   scripts/run.sh [DATA_DIR]
# The window appears on $DISPLAY. The default printer of the prefix is
# "Zelkovane PDF": every job printed on it becomes a PDF file
# Zelkovane-YYYYMMDD-HHMMSS.pdf in the data folder (scripts/print_to_pdf.sh).
# The test printer "Zelkovane Test Printer" writes its PostScript into
# build/wine-run/printer-output.ps; printers that Wine finds through CUPS
# are offered too.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

DATA_DIR="$(realpath -m "${1:-$ZK_ROOT/data}")"
PREFIX="$ZK_BUILD/wine-run"
EXE="$ZK_BUILD/windows/Zelkovane.exe"

if [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<'MSG'
error: no display. Zelkovane is a windowed program: run `make run` in a
desktop session, set DISPLAY to an X server you can see, or run it on a
virtual display with `xvfb-run -a make run` (nothing will be visible).
MSG
    exit 1
fi

bash "$ZK_ROOT/scripts/setup.sh" || exit 1
if command -v xdpyinfo >/dev/null && ! timeout 10 xdpyinfo >/dev/null 2>&1; then
    zk_die "cannot open the display $DISPLAY"
fi
[ -f "$ZK_ROOT/app/main_win32.cpp" ] || zk_die "the Windows program has no entry point yet (app/main_win32.cpp)"
bash "$ZK_ROOT/scripts/build.sh" windows Zelkovane zelko_test_printer || exit 1
[ -f "$EXE" ] || zk_die "build/windows/Zelkovane.exe was not built"
bash "$ZK_ROOT/scripts/wine_prefix.sh" "$PREFIX" --pdf-default || exit 1

mkdir -p "$DATA_DIR" || exit 1
if [ -f "$ZK_ROOT/scripts/seed_data.sh" ]; then
    bash "$ZK_ROOT/scripts/seed_data.sh" "$DATA_DIR" || zk_die "seeding $DATA_DIR failed"
fi

# The manual behind ヘルプ: built when missing or older than its sources
# (with its pictures from manual/pictures), copied into the data
# folder when missing there or older.
MANUAL="$ZK_BUILD/manual/Zelkovane_manual.pdf"
if [ ! -f "$MANUAL" ] || [ -n "$(find "$ZK_ROOT/manual" -newer "$MANUAL" -type f | head -n 1)" ]; then
    bash "$ZK_ROOT/scripts/build_manual.sh" || zk_say "run: the manual could not be built; ヘルプ will find none"
fi
if [ -f "$MANUAL" ] && { [ ! -f "$DATA_DIR/Zelkovane_manual.pdf" ] || [ "$MANUAL" -nt "$DATA_DIR/Zelkovane_manual.pdf" ]; }; then
    cp -f "$MANUAL" "$DATA_DIR/Zelkovane_manual.pdf" && zk_say "run: manual copied into $DATA_DIR"
fi

zk_say "run: Zelkovane.exe in $DATA_DIR on display $DISPLAY (Wine messages: build/logs/run.log)"
zk_say "run: jobs printed on \"Zelkovane PDF\" become PDF files in $DATA_DIR"
cd "$DATA_DIR" || exit 1
# The PDF printer's port script finds the folder for its files here.
export ZK_PDF_DIR="$DATA_DIR"
WINEPREFIX="$PREFIX" wine "$EXE" >"$ZK_LOGS/run.log" 2>&1 </dev/null
rc=$?
zk_say "run: Zelkovane.exe ended (exit $rc)"
exit $rc
