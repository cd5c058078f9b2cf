#!/usr/bin/env bash
# The real program in a real window under a private X server, driven by key presses:
#   e2e.sh BIN_DIR RUN      (BIN_DIR holds the program, data/ and Data/; RUN names a table row)
# TORVEL_E2E_COMMAND is what starts the program in its run directory (default ./torvel-room;
# another build passes its own, e.g. "wine torvel-room.exe"); the files it names are copied
# from BIN_DIR into the run directory, with any DLLs beside them.
# Keys go in through the X test extension, pictures are screenshots, the sound is what SDL's
# disk audio driver writes. Every wait is bounded; waits for frames follow the frame rate,
# which a busy machine or the sanitizers can bring down to about ten a second. The pictures
# taken are kept as RUN-NAME.png beside BIN_DIR in e2e-pictures/ (or in $TORVEL_E2E_PICTURES).
set -euo pipefail
BIN=$(cd "${1:?usage: e2e.sh BIN_DIR RUN}" && pwd)
RUN_NAME=${2:?usage: e2e.sh BIN_DIR RUN}

# One row per run: name, display, then the steps (helpers below). The display is
# xvfb:WxHxD (a private Xvfb with that screen), xorg (a private Xorg with its dummy video driver,
# modes 1024x768 and 640x480; release preset only) or - (none).
# The test registration reads the names and displays from here.
RUNS='
windowed        xvfb:1024x768x24  windowed_run; blank_beside; escape 0
paced           xvfb:1024x768x24  windowed_run; paced; escape 0
fullscreen      xvfb:640x480x16   start; answer Yes; at "Torvel Square Room"; absent "Quarn GL"; drawn; escape 0
refused-yes     xvfb:1024x768x24  start; answer Yes; box "Quarn GL" Yes; at "Torvel Square Room"; drawn; press F1; box "Quarn GL" Yes; at "Torvel Room"; drawn; escape 0
refused-no      xvfb:1024x768x24  start; answer Yes; box "Quarn GL" No; box ERROR OK; status 1; lines out . 0 0
f1              xvfb:640x480x24   windowed_run; f1_and_back; escape 0; lines out "^Width of data/marble" 3 3
held-keys       xvfb:640x480x24   windowed_run; held_keys; escape 0
quick-taps      xvfb:640x480x24   windowed_run; quick_taps; escape 0
sound           xvfb:640x480x24   windowed_run SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$W/audio.raw" TORVEL_FRAME_PACING=0; sound_switch; escape 0
broken-sound    xvfb:640x480x24   break_sound; windowed_run; term 0; lines err "[Ss]ound" 1 1; lines err "^No sound: " 1 1
broken-picture  xvfb:640x480x24   break_picture; start; answer No; status 1; lines out "^Error reading image data from data/wand.bmp.$" 1 1
no-display      -                 start TORVEL_TIMING=0; status 1; lines err . 1 1; lines err display 1 1
minimise        xvfb:640x480x24   windowed_run; minimise frames; escape 0
minimise-cpu    xvfb:640x480x24   windowed_run; minimise cpu; escape 0
resize          xvfb:1024x768x24  windowed_run; resize; escape 0
sigint          xvfb:640x480x24   start; sigint_at_question; status 0; lines out . 0 0
quiet-stderr    xvfb:640x480x24   windowed_run SDL_AUDIODRIVER=alsa TORVEL_TIMING=0; tap Escape; status 0; lines err . 0 1; lines err "Would You" 0 0
'
# The rows that cannot mean the same for the Windows build under Wine (TORVEL_E2E_WINE=1), and
# why. They end with status 77, which CTest reports as a skipped test.
WINE_SKIPS='
paced           Wine takes the swap interval but does not wait for the refresh: nothing is paced
broken-sound    it ends by SIGTERM: Windows has no signals
no-display      Windows always has a desktop to open windows on
minimise        unmapping the window (minimising without a window manager) is not minimising to Wine
minimise-cpu    unmapping the window (minimising without a window manager) is not minimising to Wine
refused-yes     Wine offers 640 x 480 whatever modes the X screen has
refused-no      Wine offers 640 x 480 whatever modes the X screen has
sigint          a GUI program has no console: Ctrl-C in a terminal never reaches it
quiet-stderr    it asks for ALSA, which the Windows SDL has not
'
ROW=$(grep -E "^$RUN_NAME " <<<"$RUNS") || { echo "no run named $RUN_NAME" >&2 && exit 2; }
if [ "${TORVEL_E2E_WINE:-0}" = 1 ] && SKIP=$(grep -E "^$RUN_NAME " <<<"$WINE_SKIPS"); then
    echo "$RUN_NAME: not under Wine: $(sed 's/^[^ ]* *//' <<<"$SKIP")"
    exit 77
fi
read -r _ DISPLAY_KIND STEPS <<<"$ROW"
read -r -a COMMAND <<<"${TORVEL_E2E_COMMAND:-./torvel-room}"

# The sanitizers' leak report at exit would be about the window system's libraries (D-Bus, a GL
# driver unloaded before the report); our own code is leak-checked by the unit tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
W=$(mktemp -d "${TMPDIR:-/tmp}/torvel-e2e.XXXXXX")
PICTURES=${TORVEL_E2E_PICTURES:-$(dirname "$BIN")/e2e-pictures}
XVFB= APP= WIN= GEOM=
cleanup() {
    [ -z "$APP" ] || { kill "$APP" && sleep 0.3 && kill -9 "$APP"; } 2>/dev/null || true
    [ -z "$XVFB" ] || { kill "$XVFB" && wait "$XVFB"; } 2>/dev/null || true
    rm -rf "$W"
}
trap cleanup EXIT
fail() {
    echo "FAIL ($RUN_NAME): $*" >&2
    for f in out err; do [ ! -s "$W/$f" ] || { echo "--- std$f" && tail -n 20 "$W/$f"; } >&2; done
    exit 1
}

# poll SECONDS COMMAND...: true once the command succeeds within about that time.
poll() {
    local end=$((SECONDS + $1))
    until "${@:2}"; do [ "$SECONDS" -le "$end" ] && sleep 0.1 || return 1; done
}
alive() { [ -n "$APP" ] && kill -0 "$APP" 2>/dev/null; }
ended() { ! alive; }

# text out|err: what the program wrote there, lines without the CR a Windows program ends them with.
text() { tr -d '\r' <"$W/$1"; }
# The frame count of the program's latest hundred-frame report, and the seconds per frame:
# between its last two reports, or since start-up (an upper bound), or 0.1 (as slow as it gets).
frames() { text err | sed -n 's/^\([0-9]*\) frames presented after.*/\1/p' | tail -n 1 | grep . || echo 0; }
period() {
    text err | sed -n 's/^[0-9]* frames presented after \([0-9.]*\) s$/\1/p' | tail -n 2 |
        awk '{t[NR] = $1} END {printf "%.3f", (NR == 2 ? (t[2] - t[1]) / 100 : NR == 1 ? t[1] / 100 : 0.1)}'
}
# frame_time N: the seconds that N frames take at the current rate, at least 0.1.
frame_time() { awk -v n="$1" -v p="$(period)" 'BEGIN {t = n * p; printf "%.2f", t < 0.1 ? 0.1 : t}'; }
after() { sleep "$(frame_time "$1")"; }
# wait_frames N: until the program has reported N frames (at least ~7 frames a second).
wait_frames() {
    reached() { [ "$(frames)" -ge "$1" ] || { alive || fail "program ended before frame $1"; false; }; }
    poll $((($1 - $(frames)) * 3 / 20 + 10)) reached "$1" || fail "only $(frames) frames, not $1"
}

start_xvfb() {
    # -ardelay: a key held down does not repeat, so a press lasting a few frames is one press.
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset -br -ardelay 60000 3>"$W/display" 2>"$W/xvfb.log" &
    XVFB=$!
    xvfb_up() { [ -s "$W/display" ] && export DISPLAY=":$(head -n 1 "$W/display")" && xdpyinfo >/dev/null 2>&1; }
    poll 10 xvfb_up || fail "Xvfb did not start"
}
# start [VAR=VALUE...]: the program in the background in a private copy of its run directory.
start() {
    local display=()
    [ "$DISPLAY_KIND" != - ] || display=(-u DISPLAY)
    (cd "$W/run" && exec env "${display[@]}" -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$W" \
        SDL_AUDIODRIVER=dummy TORVEL_TIMING=1 "$@" "${COMMAND[@]}" >"$W/out" 2>"$W/err") &
    APP=$!
}
status() {
    poll 20 ended || fail "program still running, wanted status $1"
    local got=0
    wait "$APP" || got=$?
    APP=
    ! grep -qE 'Sanitizer|runtime error:' "$W/err" || fail "sanitizer report"
    [ "$got" -eq "$1" ] || fail "exit status $got, wanted $1"
}

# window_id TITLE: the viewable top-level window with that title, other than the current one.
window_id() {
    local id
    for id in $(xwininfo -root -tree | grep -F "\"$1\":" | awk '{print $1}'); do
        [ "$id" != "$WIN" ] && xwininfo -id "$id" | grep -q IsViewable && echo "$id" && return
    done
    true
}
shown() { [ -n "$(window_id "$1")" ] || { alive || fail "program ended while waiting for \"$1\""; false; }; }
gone() { [ -z "$(window_id "$1")" ]; }
absent() { gone "$1" || fail "a window \"$1\" is shown"; }
focus() { timeout 10 xdotool windowfocus --sync "$1" || fail "cannot focus window $1"; }
# box CAPTION Yes|No|OK: answers the message box with that caption by its keyboard default.
box() {
    poll 20 shown "$1" || fail "no \"$1\" box"
    focus "$(window_id "$1")"
    timeout 5 xdotool key "$([ "$2" = No ] && echo Escape || echo Return)"
    poll 10 gone "$1" || fail "the \"$1\" box is still shown after $2"
}
answer() { box "Start FullScreen?" "$1"; }
# windowed_run [VAR=VALUE...]: started with No to the start-up question, its window focused
# and showing the scene.
windowed_run() { start "$@" && answer No && at "Torvel Square Room" && drawn; }
# at TITLE: a new window of that title, 640 x 480 at the top-left corner, gets the focus.
at() {
    poll 20 shown "$1" || fail "no window \"$1\""
    WIN=$(window_id "$1")
    GEOM=$(xwininfo -root -tree | grep -F "$WIN \"$1\":" | awk '{print $(NF - 1)}')
    [ "$GEOM" = 640x480+0+0 ] || fail "window \"$1\" at $GEOM"
    focus "$WIN"
}

# press KEY [FRAMES [TIMES]]: held down for some frames (3 by default), so frames see it once;
# TIMES times in a row.
press() {
    local t chain=()
    t=$(frame_time "${2:-3}")
    for _ in $(seq "${3:-1}"); do chain+=(keydown "$1" sleep "$t" keyup "$1" sleep "$t"); done
    timeout 60 xdotool "${chain[@]}"
}
# tap KEY...: each pressed and released back to back, faster than frames come.
tap() { timeout 5 xdotool key --delay 10 "$@"; }
# paced: Xvfb cannot synchronise with a refresh, so the program paces itself to 60 frames a second.
paced() {
    wait_frames 200
    awk -v p="$(period)" 'BEGIN {exit !(p >= 0.016)}' || fail "frames $(period) s apart, faster than 60 a second"
}
# term STATUS: SIGTERM ends the running program as closing its window does.
term() { kill -TERM "$APP" && status "$1"; }
# escape STATUS: Escape held until the program ends (a slow frame must not miss it).
escape() {
    timeout 5 xdotool keydown Escape
    poll 20 ended || true
    timeout 5 xdotool keyup Escape || true
    status "$1"
}

# shot NAME: the window's picture in $W/NAME.ppm (quick to write and read), with a copy kept
# for a person to look at.
shot() {
    import -silent -window root "$W/root.ppm"
    convert "$W/root.ppm" -crop "$GEOM" +repage "$W/$1.ppm"
    mkdir -p "$PICTURES" && convert "$W/$1.ppm" -define png:compression-level=1 "$PICTURES/$RUN_NAME-$1.png"
}
differs() {
    local count
    count=$(compare -metric AE -fuzz 2% "$W/$1.ppm" "$W/$2.ppm" null: 2>&1 || true)
    [ "${count%%.*}" -gt 50 ]
}
same() { ! differs "$1" "$2" || fail "pictures $1 and $2 differ: $3"; }
# spread FILE [CROP]: standard deviation of the grey levels in per mille (0: a plain area).
spread() { convert "$1" ${2:+-crop "$2"} -colorspace Gray -format '%[fx:int(1000 * standard_deviation)]' info:; }
drawn() {
    scene() { shot "$1" && [ "$(spread "$W/$1.ppm")" -gt 50 ]; }
    poll 10 scene "${1:-scene}" || fail "the window shows no scene (${1:-scene})"
}
blank_beside() { [ "$(spread "$W/root.ppm" 384x768+640+0)" -eq 0 ] || fail "drawing outside the window"; }
# look NAME still|moving WHY: pictures ten frames apart until one is the same as the one
# before (still; explosions fade within 101 frames) or differs from the first (moving).
look() {
    local end=$((SECONDS + 3 + $(awk -v p="$(period)" 'BEGIN {printf "%d", 150 * p}')))
    shot "$1" && cp "$W/$1.ppm" "$W/before.ppm"
    while [ "$SECONDS" -le "$end" ]; do
        after 10
        shot "$1"
        if differs before "$1"; then [ "$2" = still ] || return 0; else [ "$2" = moving ] || return 0; fi
        [ "$2" = moving ] || cp "$W/$1.ppm" "$W/before.ppm"
    done
    fail "the picture is not $2: $3"
}

# lines out|err REGEX MIN MAX: between MIN and MAX lines of the program's stdout or stderr match.
lines() {
    local n
    n=$(text "$1" | grep -c -E "$2" || true)
    ((n >= $3 && n <= $4)) || fail "$n lines of std$1 match \"$2\", not $3 to $4"
}

# F1 on a screen with a 640 x 480 mode: fullscreen without a question, then windowed again.
f1_and_back() {
    press F1 && at "Torvel Room" && absent "Torvel Square Room" && absent "Quarn GL" && drawn fullscreen
    press F1 && at "Torvel Room" && drawn windowed
}

# With the camera on ball 0 (F2) and the time step brought from 0.6 to about 0 (keypad minus
# six times) nothing moves once the explosions have faded; the free camera always turns.
held_keys() {
    press F2
    press KP_Subtract 3 6
    look still still "F2 or keypad minus not taken"
    press Left 10
    look turned still "after Left"
    differs still turned || fail "holding Left did not turn the view"
    press F2
    look free moving "F2 did not switch to the free camera"
    press F2
    look back still "F2 did not switch back to the camera on ball 0"
    same still back "F2 did not set the view angle back to 0"
}
# The same with taps faster than the frames: each one acts exactly once.
quick_taps() {
    tap F2 KP_Subtract KP_Subtract KP_Subtract KP_Subtract KP_Subtract KP_Subtract
    look still still "a tap of F2 or keypad minus was lost"
    tap KP_Add
    look going moving "a tap of keypad plus was lost"
    tap KP_Subtract
    look still still "keypad plus acted more than once, or the minus tap was lost"
    tap F2 F2 F2 F2 F2 F2 F2 F2 F2 F2
    look ten still "ten taps of F2 leave the free camera on"
    same still ten "ten taps of F2 do not come back to the same view"
    tap F2
    look free moving "one tap of F2 did not switch the camera"
}

# first_sound FILE [FROM]: the offset of the first byte that is not 0 (from FROM on), or nothing.
first_sound() { { cmp -i "${2:-0}:0" "$1" /dev/zero 2>/dev/null || true; } | awk -v from="${2:-0}" '/differ/ {print from + $5 - 1}'; }
# The explosion sound comes with the first ball contact, sample for sample; after F3 the audio
# stays silent through the next contacts (no more than 100 frames apart at a time step of 2.6).
sound_switch() {
    sox "$W/run/Data/Explode.wav" -t raw -e signed -b 16 -c 1 "$W/explode.raw"
    press KP_Add 1 20
    sounding() { [ -n "$(first_sound "$W/audio.raw")" ] || { alive || fail "program ended"; false; }; }
    poll 90 sounding || fail "no sound by frame $(frames)"
    local at off lead
    at=$(first_sound "$W/audio.raw")
    lead=$(first_sound "$W/explode.raw")
    written() { [ "$(stat -c %s "$W/audio.raw")" -ge "$1" ]; }
    poll 5 written $((at + 1024)) || fail "the audio stopped"
    # The device takes 512 samples at a time from the queue: the buffer the sound starts in holds
    # its beginning, even when the next contacts restart it right after.
    cmp -n $((1024 - lead)) -i "$at:$lead" "$W/audio.raw" "$W/explode.raw" || fail "not the explosion sound"
    press F3
    # What was playing when F3 acted may play to its end.
    off=$(($(stat -c %s "$W/audio.raw") + $(stat -c %s "$W/explode.raw") + 8192))
    wait_frames $(($(frames) + 200))
    [ -z "$(first_sound "$W/audio.raw" "$off")" ] || fail "sound after F3 switched it off"
}
break_sound() { printf 'RIFF\x10\x00\x00\x00WAVEnot really a sound file\n' >"$W/run/Data/Explode.wav"; }
break_picture() { truncate -s 1000 "$W/run/data/wand.bmp"; }

# minimise frames|cpu: the window hidden as a window manager minimises it (unmapped) and shown
# again. frames: no frame while hidden for 100 frames' time and a second; cpu: under 5 % of a
# core over 3 s. Either way the scene moves again once it is shown.
minimise() {
    # Hidden just after a hundred-frame report, so that going on would bring the next one.
    [ "$1" = cpu ] || wait_frames $(($(frames) + 100))
    local n ticks
    n=$(frames)
    timeout 10 xdotool windowunmap --sync "$WIN"
    if [ "$1" = cpu ]; then
        ticks=$(awk '{print $14 + $15}' "/proc/$APP/stat")
        sleep 3
        ticks=$(($(awk '{print $14 + $15}' "/proc/$APP/stat") - ticks))
        [ "$ticks" -le $(($(getconf CLK_TCK) * 15 / 100)) ] || fail "$ticks CPU ticks in 3 s while hidden"
    else
        sleep 1 && after 100
        [ "$(frames)" -eq "$n" ] || fail "frames went on while the window was hidden"
    fi
    timeout 10 xdotool windowmap --sync "$WIN"
    focus "$WIN"
    look shown moving "no frames once the window is shown again"
}

# The window made 800 x 600: the scene covers all of it, with no band left blank.
resize() {
    timeout 10 xdotool windowsize --sync "$WIN" 800 600 || fail "cannot resize"
    GEOM=800x600+0+0
    after 10
    drawn resized
    for band in 160x600+640+0 800x120+0+0 800x120+0+480; do
        [ "$(spread "$W/resized.ppm" "$band")" -gt 50 ] || fail "band $band of the resized window is blank"
    done
}

# SIGINT while the start-up question waits: the program ends within a second and never shows
# its window.
sigint_at_question() {
    poll 20 shown "Start FullScreen?" || fail "no start-up question"
    local t0
    t0=$(date +%s%N)
    kill -INT "$APP"
    quietly_ended() { absent "Torvel Square Room" && ended; }
    poll 3 quietly_ended || fail "still running 3 s after SIGINT"
    t0=$((($(date +%s%N) - t0) / 1000000))
    [ "$t0" -le 1000 ] || fail "ended $t0 ms after SIGINT"
}

mkdir "$W/run"
cp -r "$BIN/data" "$BIN/Data" "$W/run/"
for word in "${COMMAND[@]}"; do [ ! -f "$BIN/${word#./}" ] || cp "$BIN/${word#./}" "$W/run/"; done
for dll in "$BIN"/*.dll; do [ ! -f "$dll" ] || cp "$dll" "$W/run/"; done
case $DISPLAY_KIND in
    xvfb:*) start_xvfb "${DISPLAY_KIND#xvfb:}" ;;
    -) ;;
    *) fail "unknown display $DISPLAY_KIND" ;;
esac
eval "$STEPS"
echo "$RUN_NAME: ok"
