#!/usr/bin/env bash
# Runs a command under a private Xvfb (a free display, 1280x1024x24):
#   scripts/with_xvfb.sh CMD [ARG...]
# DISPLAY is exported for the command; Xvfb is ended by its pid afterwards.
# Exits with the command's exit code. For example, a Windows test by hand:
#   WINEPREFIX=$PWD/build/wine-test scripts/with_xvfb.sh wine build/windows/zelko_win_tests.exe
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

[ $# -ge 1 ] || zk_die "usage: with_xvfb.sh CMD [ARG...]"
ZK_XVFB_LOG="${ZK_XVFB_LOG:-$ZK_LOGS/xvfb-with_xvfb.log}"
trap zk_xvfb_stop EXIT
trap 'exit 130' INT TERM
zk_xvfb_start || exit 1
"$@"
