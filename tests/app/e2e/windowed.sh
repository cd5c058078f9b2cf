#!/usr/bin/env bash
# No to the start-up question: a 640 x 480 window at the top-left corner showing the scene.
# F1 on a screen without a 640 x 480 mode asks about windowed mode; Yes rebuilds windowed.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 1024x768x24
make_rundir
start_app

answer "Start FullScreen?" Escape
wait_window "Torvel Square Room" >/dev/null
[ "$(geometry "Torvel Square Room")" = "640x480+0+0" ] || fail "window at $(geometry "Torvel Square Room")"
sleep 1
screenshot "$WORK/windowed.png"
keep_picture "$WORK/windowed.png" windowed.png
[ "$(colour_spread "$WORK/windowed.png" 640x480+0+0)" -gt 50 ] || fail "the window shows no scene"
[ "$(colour_spread "$WORK/windowed.png" 384x768+640+0)" -eq 0 ] || fail "drawing outside the window"

focus "Torvel Square Room"
press F1
answer "Quarn GL" Return
wait_window "Torvel Room" >/dev/null
[ -z "$(window_id "Torvel Square Room")" ] || fail "the first window is still there"
[ "$(geometry "Torvel Room")" = "640x480+0+0" ] || fail "rebuilt window at $(geometry "Torvel Room")"
sleep 0.5
screenshot "$WORK/rebuilt.png"
keep_picture "$WORK/rebuilt.png" rebuilt.png
[ "$(colour_spread "$WORK/rebuilt.png" 640x480+0+0)" -gt 50 ] || fail "the rebuilt window shows no scene"

quit_by_escape "Torvel Room"
grep -qF "The Requested Fullscreen Mode Is Not Supported By" "$WORK/stderr" || fail "question not on stderr"
# Every opening loads the four pictures afresh.
[ "$(grep -c "^Width of data/marble.bmp: " "$WORK/stdout")" -eq 2 ] || fail "pictures not loaded twice"
# Xvfb cannot sync to a refresh: the program paces itself to 60 frames a second.
rate=$(sed -n 's/^\([0-9]*\) frames presented in \([0-9.]*\) s.*/\1 \2/p' "$WORK/stderr" |
    awk '{printf "%d", $1 / $2}')
[ -n "$rate" ] && [ "$rate" -le 62 ] || fail "${rate:-no} frames a second"
echo "windowed: ok"
