#!/usr/bin/env bash
# The collision sound through SDL's disk audio driver, which writes what it plays to a file.
# The first ball contact comes at frame 778 and the second at 884, whatever the frame rate:
# with sound on, the explosion's samples appear in the written audio; with F3 pressed at the
# start, the audio stays silent over the same 900 frames.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 1024x768x24
make_rundir
sox "$RUN/Data/Explode.wav" -t raw -e signed -b 16 -c 1 "$WORK/explode.raw"

# wait_frames N SECONDS: until the program says it has presented N frames.
wait_frames() {
    local i
    for i in $(seq $(($2 * 10))); do
        grep -q "^$1 frames presented" "$WORK/stderr" && return 0
        kill -0 "$APP_PID" 2>/dev/null || fail "program ended early"
        sleep 0.1
    done
    fail "not $1 frames within $2 s"
}

run_to_frame_900() {
    answer "Start FullScreen?" Escape
    focus "Torvel Square Room"
    [ "${1:-}" != "sound-off" ] || press F3
    wait_frames 900 120
    press Escape
    wait_exit
    [ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS"
}

# Sound on, frames as fast as they come.
SDL_AUDIODRIVER=disk start_app SDL_DISKAUDIOFILE="$WORK/on.raw" TORVEL_FRAME_PACING=0
run_to_frame_900
# The written audio is silence up to the first contact, then the sound from its first sample.
# first_sound FILE: the 1-based position of its first byte that is not 0, or nothing.
first_sound() { { cmp "$1" /dev/zero 2>/dev/null || true; } | awk '/differ/ {print $5}' | tr -d ,; }
skip_out=$(first_sound "$WORK/on.raw")
[ -n "$skip_out" ] || fail "no sound in the written audio"
skip_in=$(first_sound "$WORK/explode.raw")
cmp -n 4000 -i "$((skip_out - 1)):$((skip_in - 1))" "$WORK/on.raw" "$WORK/explode.raw" ||
    fail "the written audio is not the explosion sound"

# Sound off from the start; at most 60 frames a second, so F3 comes long before frame 778.
APP_PID=
SDL_AUDIODRIVER=disk start_app SDL_DISKAUDIOFILE="$WORK/off.raw"
run_to_frame_900 sound-off
[ -s "$WORK/off.raw" ] || fail "no audio written with sound off"
[ -z "$(first_sound "$WORK/off.raw")" ] || fail "sound played with F3 off"
echo "sound: ok"
