#!/usr/bin/env bash
# The key commands as the picture shows them. With the camera on ball 0 (F2) and the time
# step at 0 (keypad minus six times) nothing moves; the arrows turn the view, keypad plus
# sets the scene going again, F2 back to the free camera and Down moves the camera back.
# Waits adapt to the frame rate, which a busy machine can bring far below 60.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 1024x768x24
make_rundir
start_app

# shot NAME [SECONDS]: the window's picture after a pause.
shot() {
    sleep "${2:-0.3}"
    screenshot "$WORK/$1.png"
    convert "$WORK/$1.png" -crop 640x480+0+0 +repage "$WORK/$1.png"
    keep_picture "$WORK/$1.png" "keys-$1.png"
}

# settle NAME: the picture once two in a row half a second apart are the same.
settle() {
    local i
    shot "$1"
    for i in $(seq 30); do
        cp "$WORK/$1.png" "$WORK/previous.png"
        shot "$1" 0.5
        differs "$WORK/previous.png" "$WORK/$1.png" || return 0
    done
    fail "the picture does not settle ($1)"
}

# Per mille of the picture in the clear colour (0.2, 0.5, 1.0).
sky() {
    convert "$1" -fuzz 8% -fill black +opaque 'rgb(51,128,255)' -fill white -opaque 'rgb(51,128,255)' \
        -colorspace Gray -format '%[fx:int(1000*mean)]' info:
}

# hold_until KEY NAME TEST: holds KEY down, taking picture NAME, until "TEST $(sky NAME)" holds.
hold_until() {
    local i
    timeout 5 xdotool keydown "$1"
    for i in $(seq 40); do
        shot "$2" 0.25
        if $3 "$(sky "$WORK/$2.png")"; then
            timeout 5 xdotool keyup "$1"
            return 0
        fi
    done
    timeout 5 xdotool keyup "$1"
    fail "holding $1 did not change the picture as expected ($(sky "$WORK/$2.png") per mille background)"
}

answer "Start FullScreen?" Escape
focus "Torvel Square Room"
shot start 0.5
press F2
for i in 1 2 3 4 5 6; do press KP_Subtract; done
# Still pictures once the explosions of the first wall hits have faded (101 frames).
settle frozen
differs "$WORK/start.png" "$WORK/frozen.png" || fail "F2 did not change the camera"

press Left 0.5
settle turned
differs "$WORK/frozen.png" "$WORK/turned.png" || fail "Left did not turn the view"
press Right 0.5
settle turned-back
differs "$WORK/turned.png" "$WORK/turned-back.png" || fail "Right did not turn the view"

press KP_Add
shot moving
shot moving-later 0.5
differs "$WORK/moving.png" "$WORK/moving-later.png" || fail "keypad plus did not set the scene going"

# The free camera again, frozen: only its slow turn is left. Down moves it back, so the
# room shrinks and the background around it grows; Up brings it forward again.
press KP_Subtract
press F2
shot near
near=$(sky "$WORK/near.png")
grown() { [ "$1" -gt $((near + 50)) ]; }
hold_until Down far grown
far=$(sky "$WORK/far.png")
shrunk() { [ "$1" -lt $((far - 50)) ]; }
hold_until Up near-again shrunk

quit_by_escape "Torvel Square Room"
echo "keys: ok"
