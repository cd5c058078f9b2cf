#!/usr/bin/env bash
# Sound problems: sound.sh BIN_DIR CASE. The program says so in one stderr line at start-up
# and runs on: the scene is drawn, collisions go on asking for the sound, F3 still switches
# it, Escape ends the program with status 0.
source "$(dirname "$0")/lib.sh" "$1"
FAULT_CASE=${2:?usage: sound.sh BIN_DIR CASE}
start_xvfb 640x480x24
fresh_rundir
wav=$RUN/Data/Explode.wav
driver=dummy
case $FAULT_CASE in
    missing) rm "$wav" ;;
    not-wav) printf 'RIFF\x10\x00\x00\x00WAVEnot really a sound file\n' >"$wav" ;;
    empty) : >"$wav" ;;
    no-device) driver=no-such-audio-driver ;;
    *) fail "unknown case $FAULT_CASE" ;;
esac

SDL_AUDIODRIVER=$driver start_app
answer "Start FullScreen?" Escape
focus "Torvel Square Room"
# Long enough for ball contacts, each of which asks for the sound.
sleep 2
press F3
press F3
scene_drawn "Torvel Square Room"
quit_by_escape
no_crash
[ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS"
count=$(grep -ci 'sound' "$WORK/stderr" || true)
[ "$count" -eq 1 ] || fail "$count lines about the sound on stderr, not 1"
first_sound_line=$(grep -ni 'sound' "$WORK/stderr" | cut -d: -f1)
first_frame_line=$(grep -n '^First frame presented' "$WORK/stderr" | cut -d: -f1)
[ "$first_sound_line" -lt "${first_frame_line:-999999}" ] || fail "the sound line came after the first frame"
[ "$(cat "$WORK/stdout")" = "$(header_lines data/marble.bmp data/spark.bmp data/boden.bmp data/wand.bmp)" ] ||
    fail "unexpected standard output"
echo "sound $FAULT_CASE: ok"
