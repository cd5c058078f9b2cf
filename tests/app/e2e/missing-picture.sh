#!/usr/bin/env bash
# A missing picture: the lines of the pictures before it, its "File Not Found" line, status 1.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 1024x768x24
make_rundir
rm "$RUN/data/spark.bmp"
start_app

answer "Start FullScreen?" Escape
wait_exit
[ "$APP_STATUS" -eq 1 ] || fail "exit status $APP_STATUS"
expected="Width of data/marble.bmp: 256
Height of data/marble.bmp: 256
File Not Found : data/spark.bmp"
[ "$(cat "$WORK/stdout")" = "$expected" ] || fail "unexpected output: $(cat "$WORK/stdout")"
echo "missing-picture: ok"
