#!/usr/bin/env bash
# The collision sound through SDL's disk audio driver, which writes what it plays to a file.
# The first ball contact comes at frame 778, whatever the frame rate: with sound on, the
# explosion's samples appear in the written audio; with F3 pressed at the start, the audio
# is still silent at frame 800.
source "$(dirname "$0")/lib.sh" "$1"
start_xvfb 1024x768x24
make_rundir
sox "$RUN/Data/Explode.wav" -t raw -e signed -b 16 -c 1 "$WORK/explode.raw"

# first_sound FILE: the 1-based position of its first byte that is not 0, or nothing.
first_sound() { { cmp "$1" /dev/zero 2>/dev/null || true; } | awk '/differ/ {print $5}' | tr -d ,; }

# frames: the latest frame count the program has reported.
frames() { sed -n 's/^\([0-9]*\) frames presented after.*/\1/p' "$WORK/stderr" | tail -n 1; }

start_window() {
    answer "Start FullScreen?" Escape
    focus "Torvel Square Room"
}

# Sound on: silence up to the first contact, then the sound from its first sample.
SDL_AUDIODRIVER=disk start_app SDL_DISKAUDIOFILE="$WORK/on.raw" TORVEL_FRAME_PACING=0
start_window
sounding() { [ -n "$(first_sound "$WORK/on.raw")" ] || { running "the sound"; false; }; }
poll 150 sounding || fail "no sound in the written audio by frame $(frames)"
sleep 0.3
quit_by_escape "Torvel Square Room"
[ "$(frames)" -ge 700 ] || fail "sound before the first contact, at frame $(frames)"
skip_out=$(first_sound "$WORK/on.raw")
skip_in=$(first_sound "$WORK/explode.raw")
cmp -n 4000 -i "$((skip_out - 1)):$((skip_in - 1))" "$WORK/on.raw" "$WORK/explode.raw" ||
    fail "the written audio is not the explosion sound"

# Sound off from the start.
APP_PID=
SDL_AUDIODRIVER=disk start_app SDL_DISKAUDIOFILE="$WORK/off.raw" TORVEL_FRAME_PACING=0
start_window
press F3
if [ "$(frames)" -ge 700 ] 2>/dev/null; then
    echo "sound: frames come too fast to press F3 before the first contact; skipped" >&2
    exit 77
fi
reached_800() { [ "$(frames)" -ge 800 ] 2>/dev/null || { running "frame 800"; false; }; }
poll 150 reached_800 || fail "not 800 frames, only $(frames)"
quit_by_escape "Torvel Square Room"
[ -s "$WORK/off.raw" ] || fail "no audio written with sound off"
[ -z "$(first_sound "$WORK/off.raw")" ] || fail "sound played with F3 off"
echo "sound: ok"
