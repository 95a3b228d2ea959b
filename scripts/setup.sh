#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, only those that
# are missing (apt-get update runs only then). Safe to run again and again.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

PACKAGES=(
    # native build, unit tests and benchmarks
    make cmake g++ googletest libgtest-dev libgmock-dev libbenchmark-dev python3
    # fuzz build: clang with libFuzzer and the sanitizer runtimes
    clang libclang-rt-14-dev
    # Windows build (64-bit mingw-w64 with POSIX threads, windres)
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    # Windows tests: 64-bit Wine and its launcher, Wine's own fonts, and the
    # X libraries its display driver loads for anti-aliased text and RandR
    wine wine64 fonts-wine fonts-liberation
    libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
    # a private X server for the window tests
    xvfb x11-utils xauth
    # Japanese fonts that stand in for the Windows fonts the program names
    fonts-ipafont fonts-aoyagi-kouzan-t fontconfig
    # turning printed PostScript and exported bitmaps into PNG
    ghostscript imagemagick
    # the user's manual: Markdown -> HTML -> PDF, checked with the poppler tools
    pandoc weasyprint poppler-utils
)
# The build fetches the postal code data with npm (scripts/postal_data.py);
# a Node.js that brings its own npm needs no npm package.
PACKAGES+=(nodejs)
command -v npm >/dev/null || PACKAGES+=(npm)

missing=()
for p in "${PACKAGES[@]}"; do
    status="$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)"
    [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    zk_say "setup: all packages present"
    exit 0
fi

zk_say "setup: installing ${missing[*]} (log: build/logs/setup.log)"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        SUDO="sudo -n"
    else
        zk_die "missing packages; as root run: apt-get update && apt-get install --no-install-recommends ${missing[*]}"
    fi
fi

export DEBIAN_FRONTEND=noninteractive
APT_OPTS=(-y -q -o DPkg::Lock::Timeout=600 -o Dpkg::Use-Pty=0 --no-install-recommends)
{
    $SUDO apt-get -q -o DPkg::Lock::Timeout=600 update &&
        $SUDO apt-get install "${APT_OPTS[@]}" "${missing[@]}"
} >"$ZK_LOGS/setup.log" 2>&1 </dev/null
rc=$?
if [ $rc -ne 0 ]; then
    zk_tail "$ZK_LOGS/setup.log" 30
    zk_die "package installation failed (exit $rc)"
fi
# Fonts installed just now must be known to fontconfig before Wine starts.
fc-cache >/dev/null 2>&1 || true
zk_say "setup: done"
