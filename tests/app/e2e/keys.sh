#!/usr/bin/env bash
# The key commands as the picture shows them. With the camera on ball 0 (F2) and the time
# step at 0 (keypad minus six times) nothing moves; the arrows turn the view, keypad plus
# sets the scene going again, F2 back to the free camera and Down moves the camera back.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 1024x768x24
make_rundir
start_app

shot() {
    sleep "${2:-0.3}"
    screenshot "$WORK/$1.png"
    convert "$WORK/$1.png" -crop 640x480+0+0 +repage "$WORK/$1.png"
    keep_picture "$WORK/$1.png" "keys-$1.png"
}

answer "Start FullScreen?" Escape
focus "Torvel Square Room"
shot start 0.5
press F2
for i in 1 2 3 4 5 6; do press KP_Subtract; done
# Explosions of the first wall hits fade out within 101 frames.
shot frozen 2
shot frozen-later 0.5
! differs "$WORK/frozen.png" "$WORK/frozen-later.png" || fail "the scene moves with a time step of 0"
differs "$WORK/start.png" "$WORK/frozen.png" || fail "F2 did not change the camera"

press Left 0.5
shot turned
differs "$WORK/frozen-later.png" "$WORK/turned.png" || fail "Left did not turn the view"
shot turned-later 0.5
! differs "$WORK/turned.png" "$WORK/turned-later.png" || fail "the view goes on turning"
press Right 0.5
shot turned-back
differs "$WORK/turned-later.png" "$WORK/turned-back.png" || fail "Right did not turn the view"

press KP_Add
shot moving
shot moving-later 0.5
differs "$WORK/moving.png" "$WORK/moving-later.png" || fail "keypad plus did not set the scene going"

# The free camera again, frozen: only its slow turn is left. Down moves it back, so the
# room shrinks and the background around it grows.
press KP_Subtract
press F2
shot near
press Down 1.5
shot far
# Per mille of the picture in the clear colour (0.2, 0.5, 1.0).
sky() {
    convert "$1" -fuzz 8% -fill black +opaque 'rgb(51,128,255)' -fill white -opaque 'rgb(51,128,255)' \
        -colorspace Gray -format '%[fx:int(1000*mean)]' info:
}
[ "$(sky "$WORK/far.png")" -gt "$(($(sky "$WORK/near.png") + 50))" ] ||
    fail "Down did not move the camera back ($(sky "$WORK/near.png") -> $(sky "$WORK/far.png") per mille background)"
press Up 1.5
shot near-again
[ "$(sky "$WORK/near-again.png")" -lt "$(($(sky "$WORK/far.png") - 50))" ] ||
    fail "Up did not move the camera forward"

focus "Torvel Square Room"
press Escape
wait_exit
[ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS"
echo "keys: ok"
