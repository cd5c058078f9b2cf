#!/usr/bin/env bash
# Minimised and restored: no frames while the window is minimised, frames again after it is
# restored, with the world where it was. There is no window manager under the private X
# server, so minimising is done the way one does it: the window is unmapped and mapped again.
# Two runs with the same steps, one of them with the window minimised for a while in the
# middle: both present about as many frames.
source "$(dirname "$0")/lib.sh" "$1"
active=${2:-3}
start_xvfb 640x480x24

run() {
    local hidden=$1
    fresh_rundir
    start_app
    answer "Start FullScreen?" Escape
    local id
    id=$(wait_window "Torvel Square Room")
    focus "Torvel Square Room"
    sleep "$(awk -v a="$active" 'BEGIN {print a / 2}')"
    xdotool windowunmap --sync "$id"
    sleep "$hidden"
    xdotool windowmap --sync "$id"
    focus "Torvel Square Room"
    sleep 0.3
    screenshot "$WORK/restored.png"
    sleep 0.5
    screenshot "$WORK/later.png"
    differs "$WORK/restored.png" "$WORK/later.png" || fail "no frames after the window was restored"
    sleep "$(awk -v a="$active" 'BEGIN {print a / 2}')"
    press Escape
    wait_exit 20
    no_crash
    [ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS"
    frames_presented
}

hidden=$((2 * active))
reference=$(run 0)
minimised=$(run "$hidden")
echo "frames: $reference without a pause, $minimised with ${hidden} s minimised"
[ -n "$reference" ] && [ "$reference" -gt 20 ] || fail "too few frames to compare ($reference)"
# Frames going on while minimised would about treble the count; a third more is load noise.
[ "$minimised" -lt $((reference * 4 / 3 + 10)) ] || fail "frames went on while the window was minimised"
[ "$minimised" -gt $((reference * 2 / 3)) ] || fail "fewer frames than without the pause"
echo "minimise: ok"
