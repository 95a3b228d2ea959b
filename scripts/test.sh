#!/usr/bin/env bash
# The whole test run behind `make test`: installs what is missing, builds the
# native, fuzz and Windows builds, runs every level of tests and ends with
# one line "N passed, N failed". Exits non-zero when anything failed.
#
# Levels: native unit tests, fuzz targets, benchmark ratios, the Wine prefix
# and its test printer, the Windows tests and the end-to-end tests (both
# under Wine on a private Xvfb). Details go to build/logs/.
#
# ZK_FUZZ_SECONDS (default 30) is the fuzzing time shared by all targets;
# ZK_WINE_TIMEOUT (default 1800) bounds each Windows test program.
# ZK_LEVELS (default "native fuzz bench wine") runs only some levels and
# builds only what they need, e.g. ZK_LEVELS=wine make test.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

LEVELS=" ${ZK_LEVELS:-native fuzz bench wine} "
wanted() { [[ "$LEVELS" == *" $1 "* ]]; }

T0=$SECONDS
PASSED=0
FAILED=0
REPORT=()
WINE_PREFIX_DIR="$ZK_BUILD/wine-test"
ARTIFACTS="$ZK_BUILD/artifacts"
WINE_USED=0

# Adds a level's counts to the totals and to the closing report.
record() {
    local level="$1" p="$2" f="$3" note="${4:-}"
    PASSED=$((PASSED + p))
    FAILED=$((FAILED + f))
    REPORT+=("$(printf '  %-16s %4d passed %4d failed  %s' "$level" "$p" "$f" "$note")")
}
skip() {
    REPORT+=("$(printf '  %-16s skipped: %s' "$1" "$2")")
    zk_say "-- $1: skipped ($2)"
}
# Reads the counts file written by results.py into the totals.
record_counts() {
    local level="$1" file="$2" note="${3:-}" p=0 f=1
    [ -s "$file" ] && read -r p f <"$file"
    record "$level" "$p" "$f" "$note"
    zk_say "-- $level: $p passed / $f failed${note:+ ($note)}"
}

cleanup() {
    if [ "$WINE_USED" = 1 ]; then
        zk_wine_kill "$WINE_PREFIX_DIR"
    fi
    zk_xvfb_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---- set-up and builds ---------------------------------------------------

if bash "$ZK_ROOT/scripts/setup.sh" </dev/null; then
    REPORT+=("  setup            ok")
else
    record setup 0 1 "package installation failed"
fi

# The programs each build makes for the tests. When a build fails, each of
# them is built alone, so that what did build is still tested and nothing
# stale from an earlier build runs.
fuzz_targets=()
for src in "$ZK_ROOT"/tests/fuzz/*_fuzz.cpp; do
    [ -f "$src" ] && fuzz_targets+=("$(basename "$src" .cpp)")
done
declare -A TARGETS=(
    [native]="zelko_tests zelko_bench"
    [fuzz]="${fuzz_targets[*]}"
    [windows]="zelko_test_printer Zelkovane zelko_win_tests zelko_e2e zelko_print_bench"
)
declare -A BUILT BUILD_FAILED
for kind in native fuzz windows; do
    case "$kind" in
    native) wanted native || wanted bench || continue ;;
    fuzz) wanted fuzz || continue ;;
    windows) wanted wine || continue ;;
    esac
    if [ "$kind" = fuzz ] && [ ${#fuzz_targets[@]} -eq 0 ]; then
        zk_say "build fuzz: nothing to build (no tests/fuzz/*_fuzz.cpp)"
        continue
    fi
    if bash "$ZK_ROOT/scripts/build.sh" "$kind" </dev/null; then
        for t in ${TARGETS[$kind]}; do BUILT[$kind/$t]=1; done
    else
        record "build $kind" 0 1 "see build/logs/build-$kind.log"
        BUILD_FAILED[$kind]=1
        for t in ${TARGETS[$kind]}; do
            if bash "$ZK_ROOT/scripts/build.sh" "$kind" "$t" >/dev/null 2>&1 </dev/null; then
                BUILT[$kind/$t]=1
                zk_say "    $t: built"
            fi
        done
    fi
done
# True when a program was built in this run (or was up to date).
built() { [ "${BUILT[$1/$2]:-0}" = 1 ]; }

# ---- native unit tests ---------------------------------------------------

run_gtest() {
    local level="$1" log="$2"
    shift 2
    local start=$SECONDS rc
    "$@" --gtest_color=no >"$log" 2>&1 </dev/null
    rc=$?
    python3 "$ZK_ROOT/scripts/results.py" gtest "$log" "$rc" "$log.counts"
    record_counts "$level" "$log.counts" "$((SECONDS - start)) s, log ${log#$ZK_ROOT/}"
}

if ! wanted native; then
    :
elif built native zelko_tests && [ -x "$ZK_BUILD/native/zelko_tests" ]; then
    zk_say "-- native: running zelko_tests"
    run_gtest native "$ZK_LOGS/native.log" timeout -k 10 600 "$ZK_BUILD/native/zelko_tests"
else
    skip native "zelko_tests was not built"
fi

# ---- fuzz targets --------------------------------------------------------

fuzz_level() {
    local sources=("$ZK_ROOT"/tests/fuzz/*_fuzz.cpp)
    if [ ! -e "${sources[0]}" ]; then
        skip fuzz "no targets in tests/fuzz"
        return
    fi
    local total="${ZK_FUZZ_SECONDS:-30}" n=${#sources[@]}
    local each=$((total / n))
    [ "$each" -lt 3 ] && each=3
    local p=0 f=0 src name exe log corpus seeds rc runs extra
    for src in "${sources[@]}"; do
        name="$(basename "$src" .cpp)"
        exe="$ZK_BUILD/fuzz/$name"
        log="$ZK_LOGS/fuzz-$name.log"
        if ! built fuzz "$name" || [ ! -x "$exe" ]; then
            # Already counted as the failed fuzz build.
            zk_say "   $name: not run (it did not build)"
            continue
        fi
        # The corpus grows from run to run in the build folder; checked-in
        # seeds and a dictionary are used when the target has them.
        corpus="$ZK_BUILD/fuzz/corpus/$name"
        mkdir -p "$corpus"
        extra=()
        seeds="$ZK_ROOT/tests/fuzz/corpus/$name"
        [ -f "$ZK_ROOT/tests/fuzz/$name.dict" ] && extra+=("-dict=$ZK_ROOT/tests/fuzz/$name.dict")
        extra+=("$corpus")
        [ -d "$seeds" ] && extra+=("$seeds")
        rm -f "$ZK_LOGS/fuzz-$name-"crash-* "$ZK_LOGS/fuzz-$name-"leak-* \
            "$ZK_LOGS/fuzz-$name-"timeout-* "$ZK_LOGS/fuzz-$name-"oom-*
        ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=0}" UBSAN_OPTIONS="print_stacktrace=1" \
            timeout -k 10 $((each + 120)) "$exe" -max_total_time="$each" -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$ZK_LOGS/fuzz-$name-" "${extra[@]}" >"$log" 2>&1 </dev/null
        rc=$?
        runs="$(grep -a -o -E 'Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1)"
        if [ "$rc" -eq 0 ] && [ -n "$runs" ]; then
            zk_say "   $name: ok, ${runs% second} s"
            p=$((p + 1))
        else
            zk_say "   $name: FAILED (exit $rc${runs:+, $runs s}; log ${log#$ZK_ROOT/})"
            grep -a -m 3 -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | sed 's/^/    ! /'
            ls "$ZK_LOGS/fuzz-$name-"* 2>/dev/null | sed "s|^$ZK_ROOT/|    input: |"
            f=$((f + 1))
        fi
    done
    record fuzz "$p" "$f" "${each} s per target"
}
if wanted fuzz; then
    zk_say "-- fuzz: running the targets"
    fuzz_level
fi

# ---- benchmarks ----------------------------------------------------------

LIMITS="$ZK_ROOT/tests/bench/limits.txt"
bench_level() {
    local limits_count=0
    [ -f "$LIMITS" ] && limits_count="$(grep -c -v -E '^[[:space:]]*(#|$)' "$LIMITS")"
    if ! built native zelko_bench || [ ! -x "$ZK_BUILD/native/zelko_bench" ]; then
        if [ -n "${BUILD_FAILED[native]:-}" ]; then
            skip bench "the native build failed"
        elif [ "$limits_count" -gt 0 ]; then
            zk_say "-- bench: FAILED (zelko_bench was not built but limits.txt has $limits_count limits)"
            record bench 0 "$limits_count" "zelko_bench missing"
        else
            skip bench "no zelko_bench"
        fi
        return
    fi
    zk_say "-- bench: running zelko_bench"
    local log="$ZK_LOGS/bench.log" json="$ZK_LOGS/bench.json" rc start=$SECONDS
    rm -f "$json"
    timeout -k 10 600 "$ZK_BUILD/native/zelko_bench" --benchmark_min_time=0.05 \
        --benchmark_repetitions=5 --benchmark_display_aggregates_only=true \
        --benchmark_out="$json" --benchmark_out_format=json >"$log" 2>&1 </dev/null
    rc=$?
    local limits_file="$LIMITS"
    [ -f "$limits_file" ] || limits_file=/dev/null
    python3 "$ZK_ROOT/scripts/results.py" bench "$json" "$limits_file" "$log.counts"
    local p=0 f=1
    read -r p f <"$log.counts"
    if [ "$rc" -ne 0 ]; then
        zk_say "    FAILED zelko_bench exited with code $rc (log ${log#$ZK_ROOT/})"
        zk_tail "$log" 10
        f=$((f + 1))
    fi
    record bench "$p" "$f" "$((SECONDS - start)) s, results ${json#$ZK_ROOT/}"
}
wanted bench && bench_level

# ---- Wine: prefix, test printer, Windows tests, end-to-end ---------------

# One gtest program under Wine, with a bounded time.
run_wine_gtest() {
    local level="$1" target="$2"
    local exe="$ZK_BUILD/windows/$target.exe"
    if ! built windows "$target" || [ ! -f "$exe" ]; then
        if [ -f "$exe" ]; then
            skip "$level" "$target.exe did not build this time"
        else
            skip "$level" "$target.exe is not built (yet)"
        fi
        return
    fi
    zk_say "-- $level: running $(basename "$exe") under Wine"
    pushd "$ZK_BUILD/windows" >/dev/null || return
    run_gtest "$level" "$ZK_LOGS/$level.log" timeout -k 10 "${ZK_WINE_TIMEOUT:-1800}" wine "$exe"
    popd >/dev/null || return
}

# Two checks of the prepared prefix: the test printer is the default
# printer and offers postcard paper (and the Japanese font names resolve),
# and printed pages come out as PostScript that Ghostscript renders with ink.
printer_level() {
    local tool="$ZK_BUILD/windows/zelko_test_printer.exe" p=0 f=0
    local out="$WINE_PREFIX_DIR/printer-output.ps" log="$ZK_LOGS/printer.log"
    zk_say "-- printer: checking the test printer"
    if timeout -k 10 600 wine "$tool" --check >"$log" 2>&1 </dev/null; then
        p=$((p + 1))
        zk_say "   printer is the default and offers postcard paper: ok"
    else
        f=$((f + 1))
        zk_say "   printer check: FAILED (log ${log#$ZK_ROOT/})"
        zk_tail "$log" 10
    fi
    if bash "$ZK_ROOT/scripts/print_selftest.sh" "$WINE_PREFIX_DIR" "$ARTIFACTS" >>"$log" 2>&1 </dev/null; then
        p=$((p + 1))
        zk_say "   a printed page renders with ink: ok (${ARTIFACTS#$ZK_ROOT/}/printer-selftest-*.png)"
    else
        f=$((f + 1))
        zk_say "   printed page: FAILED (log ${log#$ZK_ROOT/})"
        zk_tail "$log" 10
    fi
    rm -f "$out"
    PASSED=$((PASSED + p))
    FAILED=$((FAILED + f))
    REPORT+=("$(printf '  %-16s %4d passed %4d failed  log %s' printer "$p" "$f" "build/logs/printer.log")")
}

# Checkers of what the Windows tests left in build/artifacts (printed
# PostScript, bitmaps): every scripts/check_*.py ARTIFACTS_DIR, each ending
# its output with "N passed, N failed".
artifact_checks() {
    local script name log rc line p f
    for script in "$ZK_ROOT"/scripts/check_*.py; do
        [ -f "$script" ] || continue
        name="$(basename "$script" .py)"
        log="$ZK_LOGS/$name.log"
        zk_say "-- $name: checking build/artifacts"
        timeout -k 10 600 python3 "$script" "$ARTIFACTS" >"$log" 2>&1 </dev/null
        rc=$?
        line="$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)"
        p=0 f=1
        if [ -n "$line" ]; then
            read -r p _ f _ <<<"${line//,/}"
            [ "$rc" -ne 0 ] && [ "$f" -eq 0 ] && f=1
        fi
        grep -E '^(FAIL|error)' "$log" | head -n 15 | sed 's/^/    /'
        [ -z "$line" ] && zk_tail "$log" 10
        PASSED=$((PASSED + p))
        FAILED=$((FAILED + f))
        REPORT+=("$(printf '  %-16s %4d passed %4d failed  log %s' "$name" "$p" "$f" "build/logs/$name.log")")
        zk_say "-- $name: $p passed / $f failed"
    done
}

# The print benchmark as a smoke run: a few cards through the program and
# through plain GDI calls both print (the full run is scripts/print_bench.sh).
print_bench_smoke() {
    if ! built windows zelko_print_bench || ! built windows Zelkovane; then
        skip print-bench "zelko_print_bench.exe or Zelkovane.exe was not built"
        return
    fi
    zk_say "-- print-bench: smoke run"
    local start=$SECONDS
    if bash "$ZK_ROOT/scripts/print_bench.sh" 3 --smoke >"$ZK_LOGS/print-bench-smoke.log" 2>&1 </dev/null; then
        record print-bench 1 0 "$((SECONDS - start)) s, smoke run"
    else
        record print-bench 0 1 "see build/logs/print-bench-smoke.log"
        zk_tail "$ZK_LOGS/print-bench-smoke.log" 10
    fi
}

wine_levels() {
    if ! built windows zelko_test_printer; then
        record prefix 0 1 "zelko_test_printer.exe was not built"
        skip windows "no prefix"
        skip e2e "no prefix"
        return
    fi
    if ! zk_xvfb_start; then
        record wine 0 1 "Xvfb did not start"
        return
    fi
    zk_say "-- wine: display $DISPLAY, prefix ${WINE_PREFIX_DIR#$ZK_ROOT/}"
    export WINEPREFIX="$WINE_PREFIX_DIR"
    WINE_USED=1
    # Leftovers of an interrupted run must not hold the prefix.
    zk_wine_kill "$WINE_PREFIX_DIR"
    local start=$SECONDS
    if ZK_UNMANAGED_WINDOWS=1 bash "$ZK_ROOT/scripts/wine_prefix.sh" "$WINE_PREFIX_DIR" </dev/null; then
        record prefix 1 0 "$((SECONDS - start)) s"
    else
        record prefix 0 1 "see build/logs/wine-prefix-wine-test.log"
        skip printer "no prefix"
        skip windows "no prefix"
        skip e2e "no prefix"
        return
    fi
    rm -rf "$ARTIFACTS"
    mkdir -p "$ARTIFACTS"
    rm -f "$ZK_LOGS"/windows.log* "$ZK_LOGS"/e2e.log*
    printer_level

    export ZK_EXE ZK_ARTIFACTS ZK_PRINTER_OUTPUT
    ZK_EXE="$(zk_winpath "$ZK_BUILD/windows/Zelkovane.exe")"
    ZK_ARTIFACTS="$(zk_winpath "$ARTIFACTS")"
    ZK_PRINTER_OUTPUT="$(zk_winpath "$WINE_PREFIX_DIR/printer-output.ps")"
    run_wine_gtest windows zelko_win_tests
    zk_wine_kill "$WINE_PREFIX_DIR"
    if [ -f "$ZK_ROOT/app/main_win32.cpp" ] && ! built windows Zelkovane; then
        skip e2e "Zelkovane.exe did not build"
    else
        run_wine_gtest e2e zelko_e2e
    fi
    zk_wine_kill "$WINE_PREFIX_DIR"
    print_bench_smoke
    zk_wine_kill "$WINE_PREFIX_DIR"
    # The checkers look at what both test programs left (the end-to-end
    # print tests leave their jobs too).
    if [ -f "$ZK_LOGS/windows.log.counts" ] || [ -f "$ZK_LOGS/e2e.log.counts" ]; then
        artifact_checks
    fi

    # Bitmaps the tests saved, as PNG for a person to look at.
    local bmp n=0 convert=/usr/bin/convert
    [ -x "$convert" ] || convert=convert
    for bmp in "$ARTIFACTS"/*.bmp; do
        [ -f "$bmp" ] || continue
        "$convert" "$bmp" "${bmp%.bmp}.png" >>"$ZK_LOGS/artifacts.log" 2>&1 && n=$((n + 1))
    done
    [ "$n" -gt 0 ] && zk_say "-- artifacts: $n bitmaps as PNG in ${ARTIFACTS#$ZK_ROOT/}"
    manual_and_package_levels
    zk_xvfb_stop
}

# ---- the user's manual and the Windows package ---------------------------

# After the end-to-end level: the manual's pictures are refreshed from the
# screenshots it left into build/manual/pictures, a copy of manual/pictures
# (only those whose pixels changed; `make manual-pictures` copies them into
# manual/pictures for a commit, so the work tree stays as it was), the
# manual is built from them and checked
# (scripts/manual_check.py: pages, contents, text, every picture that a test
# saves); then the zip package is made, unpacked into a
# fresh folder on the prefix's drive C: and started from there by the
# end-to-end program's Package test.
manual_and_package_levels() {
    if [ ! -f "$ZK_LOGS/e2e.log.counts" ]; then
        skip manual "the end-to-end level did not run"
        skip package "the end-to-end level did not run"
        return
    fi
    local log="$ZK_LOGS/manual-check.log" start=$SECONDS line p=0 f=1
    local pictures="$ZK_BUILD/manual/pictures"
    zk_say "-- manual: building and checking Zelkovane_manual.pdf"
    rm -rf "$pictures" && mkdir -p "$pictures" && cp -p "$ZK_ROOT"/manual/pictures/*.png "$pictures"/ 2>/dev/null
    python3 "$ZK_ROOT/scripts/manual_pictures.py" refresh "$ZK_ROOT/manual/zelkovane_manual.md" \
        "$ARTIFACTS" "$pictures" >"$log" 2>&1 </dev/null
    if bash "$ZK_ROOT/scripts/build_manual.sh" "$pictures" >>"$log" 2>&1 </dev/null; then
        local built_in=$((SECONDS - start))
        python3 "$ZK_ROOT/scripts/manual_check.py" "$ZK_BUILD/manual/Zelkovane_manual.pdf" \
            "$ARTIFACTS" >>"$log" 2>&1 </dev/null
        line="$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)"
        [ -n "$line" ] && read -r p _ f _ <<<"${line//,/}"
        grep -E '^(FAIL|note|manual:)' "$log" | sed 's/^/    /'
        record manual "$p" "$f" "built in $built_in s, log build/logs/manual-check.log"
    else
        zk_tail "$log" 10
        record manual 0 1 "the build failed, log build/logs/manual-check.log"
        skip package "no manual"
        return
    fi

    local exe="$ZK_BUILD/windows/zelko_e2e.exe"
    if ! built windows Zelkovane || ! built windows zelko_e2e || [ ! -f "$exe" ]; then
        skip package "Zelkovane.exe or zelko_e2e.exe did not build"
        return
    fi
    zk_say "-- package: make dist, unpack into a fresh folder, start it there"
    local unpacked="$WINE_PREFIX_DIR/drive_c/zk-package/Zelkovane" zip
    rm -rf "$WINE_PREFIX_DIR/drive_c/zk-package"
    if ! bash "$ZK_ROOT/scripts/dist.sh" --prebuilt >"$ZK_LOGS/package.log" 2>&1 </dev/null; then
        zk_tail "$ZK_LOGS/package.log" 10
        record package 0 1 "make dist failed, log build/logs/package.log"
        return
    fi
    zip="$(ls -t "$ZK_BUILD"/dist/Zelkovane-*-win64.zip | head -n 1)"
    if ! python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
        "$zip" "$unpacked" >>"$ZK_LOGS/package.log" 2>&1; then
        record package 0 1 "unpacking ${zip#$ZK_ROOT/} failed"
        return
    fi
    pushd "$ZK_BUILD/windows" >/dev/null || return
    export ZK_PACKAGE_DIR='C:\zk-package\Zelkovane'
    run_gtest package "$ZK_LOGS/package-e2e.log" \
        timeout -k 10 "${ZK_WINE_TIMEOUT:-1800}" wine "$exe" --gtest_filter='Package.*'
    unset ZK_PACKAGE_DIR
    popd >/dev/null || return
    # The Package test must have run: a filter that matches nothing passes.
    local ran=0
    [ -s "$ZK_LOGS/package-e2e.log.counts" ] && ran="$(awk '{print $1 + $2}' "$ZK_LOGS/package-e2e.log.counts")"
    [ "$ran" -gt 0 ] || record package 0 1 "no Package test ran"
    local bmp
    for bmp in "$ARTIFACTS"/package_*.bmp; do
        [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" >>"$ZK_LOGS/artifacts.log" 2>&1
    done
    zk_wine_kill "$WINE_PREFIX_DIR"
}

# The Wine levels hold the test prefix alone: a second run on the same
# checkout waits for the first.
exec 8>"$ZK_BUILD/.lock-wine-test"
if ! wanted wine; then
    :
elif flock -w 1800 8; then
    wine_levels
else
    record wine 0 1 "build/wine-test is held by another run"
fi
exec 8>&-

# ---- summary -------------------------------------------------------------

zk_say ""
zk_say "---- summary ($((SECONDS - T0)) s; logs in build/logs) ----"
for line in "${REPORT[@]}"; do zk_say "$line"; done
zk_say "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
