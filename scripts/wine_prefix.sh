#!/usr/bin/env bash
# Prepares a Wine prefix for running Zelkovane:
#   scripts/wine_prefix.sh PREFIX_DIR [--pdf-default]
# - a 64-bit prefix booted without the Mono and Gecko installers;
# - the Japanese Windows font names the program uses replaced by the IPA
#   and Aoyagi Kouzan fonts;
# - the test printer "Zelkovane Test Printer" (Wine's PostScript driver with
#   tests/printer/zelkovane-test.ppd) as the default printer, printing into
#   the Unix file PREFIX_DIR/printer-output.ps;
# - a second printer "Zelkovane PDF" with the same driver and PPD, whose
#   port is a pipe: the spooler hands every job to scripts/print_to_pdf.sh,
#   which turns it into a PDF in the folder ZK_PDF_DIR (the data folder of
#   `make run`). With --pdf-default it is the default printer instead of the
#   test printer (`make run` uses that).
# Done once: a stamp in the prefix records the set-up it got, and a changed
# script, PPD or printer tool prepares the prefix again. The tests use
# build/wine-test, `make run` build/wine-run; anyone may use a folder of
# their own. Runs with or without a display. Log: build/logs/wine-prefix-<name>.log
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

PDF_DEFAULT=0
if [ $# -eq 2 ] && [ "$2" = --pdf-default ]; then
    PDF_DEFAULT=1
elif [ $# -ne 1 ]; then
    zk_die "usage: wine_prefix.sh PREFIX_DIR [--pdf-default]"
fi
PREFIX="$(realpath -m "$1")"
NAME="$(basename "$PREFIX")"
LOG="$ZK_LOGS/wine-prefix-$NAME.log"
STAMP="$PREFIX/.zelkovane-setup"
PPD="$ZK_ROOT/tests/printer/zelkovane-test.ppd"
TOOL_SRC="$ZK_ROOT/tools/test_printer_win32.cpp"
TOOL="$ZK_BUILD/windows/zelko_test_printer.exe"
OUTPUT="$PREFIX/printer-output.ps"
PDF_SCRIPT="$ZK_ROOT/scripts/print_to_pdf.sh"
# The PDF printer's port: "|" and a command for /bin/sh, the script's path
# quoted for the shell.
PDF_PORT="|/bin/bash '${PDF_SCRIPT//\'/\'\\\'\'}'"
WINE_TIMEOUT=300
export WINEPREFIX="$PREFIX"

command -v wine >/dev/null || zk_die "wine is not installed (run: make setup)"

# The set-up this script gives, as one line: what it is made from.
version() {
    {
        echo "zelkovane prefix set-up 1"
        echo "$PREFIX"
        echo "unmanaged=${ZK_UNMANAGED_WINDOWS:-0}"
        echo "pdf-default=$PDF_DEFAULT"
        wine --version 2>/dev/null
        cat "${BASH_SOURCE[0]}" "$PPD" "$TOOL_SRC"
    } | sha256sum | cut -d' ' -f1
}

wanted="$(version)"
if [ -f "$STAMP" ] && [ "$(cat "$STAMP")" = "$wanted" ] && [ -f "$PREFIX/system.reg" ]; then
    zk_say "wine prefix ${PREFIX#$ZK_ROOT/}: ready"
    exit 0
fi

# Runs a Windows program of the prefix with a bounded time, logging.
wine_run() {
    echo "== wine $*" >>"$LOG"
    timeout -k 10 "$WINE_TIMEOUT" wine "$@" >>"$LOG" 2>&1 </dev/null
}
# Waits (bounded) until the prefix's server has written the registry out
# and ended.
wine_settle() {
    timeout -k 10 "$WINE_TIMEOUT" wineserver -w >>"$LOG" 2>&1
}
failed() {
    zk_say "wine prefix ${PREFIX#$ZK_ROOT/}: FAILED: $* (log: ${LOG#$ZK_ROOT/})"
    zk_tail "$LOG" 15
    exit 1
}

prepare() {
    local start=$SECONDS
    : >"$LOG"
    rm -f "$STAMP"
    mkdir -p "$PREFIX"

    # The printer tool comes from the Windows build.
    if [ ! -f "$TOOL" ] || [ "$TOOL_SRC" -nt "$TOOL" ]; then
        bash "$ZK_ROOT/scripts/build.sh" windows zelko_test_printer >>"$LOG" 2>&1 ||
            failed "building zelko_test_printer.exe"
    fi

    echo "== wineboot" >>"$LOG"
    timeout -k 10 "$WINE_TIMEOUT" wineboot -u >>"$LOG" 2>&1 </dev/null || failed "wineboot"
    wine_settle || failed "wineserver did not settle after wineboot"
    [ -f "$PREFIX/system.reg" ] || failed "wineboot made no registry"

    # Font replacements. regedit reads .reg files as UTF-16LE with a byte
    # order mark; any other encoding mangles the Japanese names.
    local reg="$PREFIX/zelkovane-fonts.reg"
    {
        printf '\xff\xfe'
        printf '%s\r\n' \
            'Windows Registry Editor Version 5.00' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
            '"ＭＳ ゴシック"="IPAGothic"' \
            '"ＭＳゴシック"="IPAGothic"' \
            '"ＭＳ Ｐゴシック"="IPAPGothic"' \
            '"ＭＳ 明朝"="IPAMincho"' \
            '"ＭＳ Ｐ明朝"="IPAPMincho"' \
            '"MS Gothic"="IPAGothic"' \
            '"MS PGothic"="IPAPGothic"' \
            '"MS UI Gothic"="IPAPGothic"' \
            '"MS Mincho"="IPAMincho"' \
            '"MS PMincho"="IPAPMincho"' \
            '"HG行書体"="AoyagiKouzanFontT"' '' | iconv -f UTF-8 -t UTF-16LE
    } >"$reg" || failed "writing $reg"
    wine_run regedit /S "$(zk_winpath "$reg")" || failed "importing the font replacements"
    wine_settle

    # The names must have come through intact: the registry file keeps them
    # escaped as \x{...} UTF-16 units, so look them up through reg export.
    local exported="$PREFIX/zelkovane-fonts-check.reg"
    rm -f "$exported"
    wine_run reg export 'HKCU\Software\Wine\Fonts\Replacements' "$(zk_winpath "$exported")" /y ||
        failed "exporting the font replacements"
    local text
    text="$(iconv -f UTF-16 -t UTF-8 "$exported" 2>>"$LOG" | tr -d '\r')"
    for line in '"ＭＳ ゴシック"="IPAGothic"' '"ＭＳゴシック"="IPAGothic"' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' '"HG行書体"="AoyagiKouzanFontT"'; do
        grep -qxF "$line" <<<"$text" || failed "font replacement $line missing"
    done
    rm -f "$exported"

    # Test prefixes run under a bare Xvfb with no window manager: without one,
    # Wine waits about two seconds for every managed window it hides, so the
    # tests ask for unmanaged windows. A desktop prefix keeps the default.
    if [ "${ZK_UNMANAGED_WINDOWS:-0}" = 1 ]; then
        wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f ||
            failed "setting unmanaged windows"
        wine_settle
    fi

    # The test printer: its PPD in the driver folder, then the tool
    # registers the port, the driver and the printer.
    local drivers="$PREFIX/drive_c/windows/system32/spool/drivers/x64/3"
    mkdir -p "$drivers"
    cp "$PPD" "$drivers/" || failed "copying the PPD"
    wine_run "$TOOL" --install "$(basename "$PPD")" "$OUTPUT" || failed "installing the test printer"
    wine_settle
    wine_run "$TOOL" --check || failed "checking the test printer and fonts"
    wine_settle
    local pdf_options=()
    [ "$PDF_DEFAULT" = 1 ] && pdf_options+=(--default)
    wine_run "$TOOL" --add-pdf-printer "$PDF_PORT" "${pdf_options[@]}" ||
        failed "installing the PDF printer"
    wine_settle

    echo "$wanted" >"$STAMP"
    zk_say "wine prefix ${PREFIX#$ZK_ROOT/}: prepared ($((SECONDS - start)) s)"
}

# One set-up of a prefix at a time.
mkdir -p "$(dirname "$PREFIX")"
zk_locked "$PREFIX.lock" 900 prepare
