# Shared helpers of the build and test scripts; sourced, never run.
# Every script logs to build/logs/ and keeps its console output short.

ZK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ZK_BUILD="$ZK_ROOT/build"
ZK_LOGS="$ZK_BUILD/logs"
ZK_JOBS="${ZK_JOBS:-2}"
mkdir -p "$ZK_LOGS"

# Wine without the Mono and Gecko installers (they would wait for a click)
# and without desktop menu entries for the prefix's programs.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

zk_say() { printf '%s\n' "$*"; }
zk_die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Prints the last lines of a log, indented, so a failure is readable in a
# CI log without opening the file.
zk_tail() {
    local log="$1" lines="${2:-25}"
    [ -f "$log" ] || return 0
    printf '    --- last lines of %s ---\n' "${log#$ZK_ROOT/}"
    tail -n "$lines" "$log" | tr -d '\r' | sed 's/^/    | /'
}

# The Windows path of a Unix path as Wine maps it (drive Z: is /).
zk_winpath() {
    local p
    p="$(realpath -m "$1")"
    printf 'Z:%s' "${p//\//\\}"
}

# Runs "$@" with an exclusive lock on FILE, waiting at most SECONDS for it,
# so two test runs on one checkout do not build or use a prefix at once.
zk_locked() {
    local file="$1" seconds="$2"
    shift 2
    mkdir -p "$(dirname "$file")"
    (
        flock -w "$seconds" 9 || { echo "error: $file is held by another run" >&2; exit 1; }
        "$@"
    ) 9>"$file"
}

# ---- Xvfb ---------------------------------------------------------------

ZK_XVFB_PID=""

# Starts a private Xvfb on a free display and exports DISPLAY.
zk_xvfb_start() {
    command -v Xvfb >/dev/null || { echo "error: Xvfb is not installed" >&2; return 1; }
    local fdfile log
    fdfile="$(mktemp)"
    log="${ZK_XVFB_LOG:-$ZK_LOGS/xvfb.log}"
    Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp -noreset 7>"$fdfile" >"$log" 2>&1 &
    ZK_XVFB_PID=$!
    local i display=""
    for ((i = 0; i < 200; i++)); do
        display="$(tr -dc '0-9' <"$fdfile")"
        [ -n "$display" ] && break
        kill -0 "$ZK_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$fdfile"
    if [ -z "$display" ]; then
        echo "error: Xvfb did not start (see ${log#$ZK_ROOT/})" >&2
        zk_xvfb_stop
        return 1
    fi
    export DISPLAY=":$display"
}

# Ends the Xvfb started by zk_xvfb_start, by its pid.
zk_xvfb_stop() {
    [ -n "$ZK_XVFB_PID" ] || return 0
    kill "$ZK_XVFB_PID" 2>/dev/null
    local i
    for ((i = 0; i < 100; i++)); do
        kill -0 "$ZK_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    kill -9 "$ZK_XVFB_PID" 2>/dev/null
    wait "$ZK_XVFB_PID" 2>/dev/null
    ZK_XVFB_PID=""
}

# ---- Wine ---------------------------------------------------------------

# Ends every Windows process of one prefix (and its wineserver), waiting a
# bounded time for the server to go.
zk_wine_kill() {
    local prefix="$1"
    [ -d "$prefix" ] || return 0
    WINEPREFIX="$prefix" timeout 30 wineserver -k >/dev/null 2>&1
    WINEPREFIX="$prefix" timeout 30 wineserver -w >/dev/null 2>&1
    return 0
}
