#!/usr/bin/env bash
# Configures and builds one of the three builds, logging to
# build/logs/build-<kind>.log:
#   build.sh native  [target...]   g++, unit tests and benchmarks (build/native)
#   build.sh fuzz    [target...]   clang with libFuzzer and sanitizers (build/fuzz)
#   build.sh windows [target...]   mingw-w64, the program and the Windows tests (build/windows)
# Without targets everything of that build is built.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

kind="${1:-}"
shift || true
case "$kind" in
native)
    config=()
    ;;
fuzz)
    config=(-DZK_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    ;;
windows)
    config=(-DCMAKE_TOOLCHAIN_FILE="$ZK_ROOT/cmake/mingw-w64-x86_64.cmake")
    ;;
*)
    zk_die "usage: build.sh native|fuzz|windows [target...]"
    ;;
esac

dir="$ZK_BUILD/$kind"
log="$ZK_LOGS/build-$kind${1:+-$1}.log"
targets=()
for t in "$@"; do targets+=(--target "$t"); done

build() {
    {
        echo "== configure $kind"
        cmake -S "$ZK_ROOT" -B "$dir" "${config[@]}" &&
            echo "== build $kind ${*:-all}" &&
            cmake --build "$dir" -j "$ZK_JOBS" "${targets[@]}"
    } >"$log" 2>&1 </dev/null
}

start=$SECONDS
if zk_locked "$ZK_BUILD/.lock-$kind" 1200 build "$@"; then
    zk_say "build $kind: ok ($((SECONDS - start)) s)"
    # A build without the postal code data says so (scripts/postal_data.py).
    grep -a -h 'postal code data: ' "$log" | grep -v ', table ' | sort -u | sed 's/^/    ! /'
    exit 0
fi
zk_say "build $kind: FAILED ($((SECONDS - start)) s, log: ${log#$ZK_ROOT/})"
# The first errors are the useful ones; the tail says where it stopped.
grep -E -m 15 '(error|Error|ERROR)' "$log" | sed 's/^/    ! /'
zk_tail "$log" 10
exit 1
