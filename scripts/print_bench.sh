#!/usr/bin/env bash
# The print benchmark: COUNT cards (default 200) printed by the real program
# onto the test printer under Wine, beside the same pages drawn by plain GDI
# calls in the same run (tests/print_bench/print_bench_win32.cpp):
#   scripts/print_bench.sh [COUNT] [--smoke]
# Reports pages per second and PostScript bytes per page of both and their
# ratio (program time / baseline time). With 50 cards or more the ratio must
# be at most 1.5; --smoke (what `make test` runs, with a few cards) only
# checks that both jobs print.
# Uses the test prefix build/wine-test and a private Xvfb unless DISPLAY and
# WINEPREFIX are already set by the caller. Log: build/logs/print-bench.log
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

COUNT="${1:-200}"
SMOKE=0
[ "${2:-}" = --smoke ] && SMOKE=1
EXE="$ZK_BUILD/windows/zelko_print_bench.exe"
LOG="$ZK_LOGS/print-bench.log"
[ -f "$EXE" ] || zk_die "zelko_print_bench.exe is not built (scripts/build.sh windows)"
LIMIT=1.5

run() {
    if [ -z "${WINEPREFIX:-}" ]; then
        export WINEPREFIX="$ZK_BUILD/wine-test"
        OWN_PREFIX=1
        ZK_UNMANAGED_WINDOWS=1 bash "$ZK_ROOT/scripts/wine_prefix.sh" "$WINEPREFIX" </dev/null || return 1
    fi
    ZK_EXE="$(zk_winpath "$ZK_BUILD/windows/Zelkovane.exe")" \
        ZK_PRINTER_OUTPUT="$(zk_winpath "$WINEPREFIX/printer-output.ps")" \
        timeout -k 10 3600 wine "$EXE" "$COUNT" 2>>"$LOG.wine" </dev/null | sed -u 's/\r$//' | tee -a "$LOG"
    return "${PIPESTATUS[0]}"
}

OWN_PREFIX=0
cleanup() {
    [ "$OWN_PREFIX" = 1 ] && zk_wine_kill "$WINEPREFIX"
    zk_xvfb_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM
: >"$LOG"
: >"$LOG.wine"
if [ -z "${DISPLAY:-}" ]; then
    ZK_XVFB_LOG="$ZK_LOGS/xvfb-print-bench.log"
    zk_xvfb_start || zk_die "Xvfb did not start"
fi
run || { echo "print benchmark: FAILED (log ${LOG#$ZK_ROOT/})"; exit 1; }
ratio="$(awk '$1 == "ratio" { print $2 }' "$LOG")"
[ -n "$ratio" ] || { echo "print benchmark: no ratio"; exit 1; }
if [ "$SMOKE" = 1 ] || [ "$COUNT" -lt 50 ]; then
    echo "print benchmark: both jobs printed ($COUNT cards; ratio $ratio not judged)"
    exit 0
fi
if awk -v r="$ratio" -v l="$LIMIT" 'BEGIN { exit !(r <= l) }'; then
    echo "print benchmark: ratio $ratio <= $LIMIT"
else
    echo "print benchmark: FAILED, ratio $ratio > $LIMIT"
    exit 1
fi
