#!/usr/bin/env bash
# Yes on a 640 x 480 screen: fullscreen without a question, the scene over the whole screen.
# F1 switches to windowed and back, each time titled "Torvel Room"; SIGTERM closes like the
# window's close button, with status 0.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 640x480x16
make_rundir
start_app

answer "Start FullScreen?" Return
wait_window "Torvel Square Room" >/dev/null
[ -z "$(window_id "Quarn GL")" ] || fail "the mode was refused"
[ "$(geometry "Torvel Square Room")" = "640x480+0+0" ] || fail "window at $(geometry "Torvel Square Room")"
sleep 1
screenshot "$WORK/fullscreen.png"
keep_picture "$WORK/fullscreen.png" fullscreen.png
[ "$(colour_spread "$WORK/fullscreen.png")" -gt 50 ] || fail "no scene on the screen"

for round in windowed fullscreen; do
    focus "$(shown "Torvel Room" && echo "Torvel Room" || echo "Torvel Square Room")"
    press F1
    wait_gone "Torvel Square Room"
    sleep 0.5
    wait_window "Torvel Room" >/dev/null
    [ "$(geometry "Torvel Room")" = "640x480+0+0" ] || fail "$round window at $(geometry "Torvel Room")"
    [ -z "$(window_id "Quarn GL")" ] || fail "question after F1"
done

kill -TERM "$APP_PID"
expect_exit 0 "after closing"
[ "$(grep -c "^Width of data/marble.bmp: " "$WORK/stdout")" -eq 3 ] || fail "pictures not loaded three times"
echo "fullscreen: ok"
