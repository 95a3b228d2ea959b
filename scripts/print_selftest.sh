#!/usr/bin/env bash
# Proves that the test printer of a prepared prefix works:
#   scripts/print_selftest.sh PREFIX_DIR OUT_DIR
# prints one page on A4 (the default paper) and one on postcard paper with
# zelko_test_printer.exe --selftest-print, renders each PostScript file with
# Ghostscript at 600 dpi into OUT_DIR/printer-selftest-<paper>.png, and
# checks the page size and that there is ink on the page. Needs the Wine
# environment of the caller (DISPLAY is not needed).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

[ $# -eq 2 ] || zk_die "usage: print_selftest.sh PREFIX_DIR OUT_DIR"
export WINEPREFIX
WINEPREFIX="$(realpath -m "$1")"
OUT="$(realpath -m "$2")"
PS="$WINEPREFIX/printer-output.ps"
TOOL="$ZK_BUILD/windows/zelko_test_printer.exe"
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=convert
mkdir -p "$OUT"

# paper, option, expected width and height in pixels at 600 dpi
check_paper() {
    local paper="$1" option="$2" want_w="$3" want_h="$4"
    local png="$OUT/printer-selftest-$paper.png"
    rm -f "$PS" "$png"
    echo "== $paper: zelko_test_printer --selftest-print $option"
    # shellcheck disable=SC2086
    timeout -k 10 120 wine "$TOOL" --selftest-print $option </dev/null || {
        echo "error: printing failed"
        return 1
    }
    # The spooler hands the job to the port when the document ends; allow
    # it a bounded moment to land.
    local i
    for ((i = 0; i < 100; i++)); do
        [ -s "$PS" ] && break
        sleep 0.1
    done
    [ -s "$PS" ] || {
        echo "error: no PostScript arrived in $PS"
        return 1
    }
    cp "$PS" "$OUT/printer-selftest-$paper.ps"
    timeout 120 gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r600 \
        -sOutputFile="$png" "$PS" || {
        echo "error: Ghostscript could not render the output"
        return 1
    }
    local w h mean
    read -r w h mean < <("$CONVERT" "$png" -format '%w %h %[fx:mean]\n' info: 2>/dev/null)
    echo "$paper: ${w:-?} x ${h:-?} pixels, mean brightness ${mean:-?}"
    if [ -z "${w:-}" ] || [ $((w - want_w)) -lt -12 ] || [ $((w - want_w)) -gt 12 ] ||
        [ $((h - want_h)) -lt -12 ] || [ $((h - want_h)) -gt 12 ]; then
        echo "error: expected a page of about $want_w x $want_h pixels"
        return 1
    fi
    # A blank page has a mean of exactly 1; the frame and texts darken it.
    if ! awk -v m="$mean" 'BEGIN { exit !(m > 0.5 && m < 0.999) }'; then
        echo "error: no ink on the page"
        return 1
    fi
}

status=0
check_paper a4 "" 4961 7016 || status=1
check_paper postcard --postcard 2362 3496 || status=1
exit $status
