#!/usr/bin/env bash
# Yes on a screen without a 640 x 480 mode: the program asks; No ends it with status 1.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 1024x768x24
make_rundir
start_app

answer "Start FullScreen?" Return
answer "Quarn GL" Escape
answer "ERROR" Return
expect_exit 1 "after declining windowed mode"
grep -qF "ERROR: Program Will Now Close." "$WORK/stderr" || fail "closing message not on stderr"
[ ! -s "$WORK/stdout" ] || fail "pictures were loaded"
echo "refused: ok"
