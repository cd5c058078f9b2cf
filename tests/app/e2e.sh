#!/usr/bin/env bash
# The real program in a real window under a private X server, driven by key presses:
#   e2e.sh BIN_DIR RUN      (BIN_DIR holds the program, data/ and Data/; RUN names a row of e2e.runs)
# TORVEL_E2E_COMMAND is what starts the program in its run directory (default ./torvel-room;
# another build passes its own, e.g. "wine torvel-room.exe"); the files it names are copied
# from BIN_DIR into the run directory, with any DLLs beside them.
# Keys go in through the X test extension, pictures are screenshots, the sound is what SDL's
# disk audio driver writes. Every wait is bounded; waits for frames follow the frame rate,
# which a busy machine or the sanitizers can bring down to about ten a second. The pictures
# taken are kept as RUN-NAME.png beside BIN_DIR in e2e-pictures/ (or in $TORVEL_E2E_PICTURES).
set -euo pipefail
BIN=$(cd "${1:?usage: e2e.sh BIN_DIR RUN}" && pwd)
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
RUN_NAME=${2:?usage: e2e.sh BIN_DIR RUN}

RUNS=$SOURCE/tests/app/e2e.runs
ROW=$(grep -E "^$RUN_NAME " "$RUNS") || { echo "no run named $RUN_NAME in $RUNS" >&2 && exit 2; }
if [ "${TORVEL_E2E_WINE:-0}" = 1 ] && SKIP=$(grep -E "^wine-skip +$RUN_NAME( |$)" "$RUNS"); then
    read -r _ _ SKIP <<<"$SKIP"
    [ -n "$SKIP" ] || { echo "$RUN_NAME: skipped under Wine without a reason" >&2 && exit 2; }
    echo "$RUN_NAME: not under Wine: $SKIP"
    exit 77
fi
read -r _ DISPLAY_KIND STEPS <<<"$ROW"
read -r -a COMMAND <<<"${TORVEL_E2E_COMMAND:-./torvel-room}"

# The sanitizers' leak report at exit would be about the window system's libraries (D-Bus, a GL
# driver unloaded before the report); our own code is leak-checked by the unit tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
W=$(mktemp -d "${TMPDIR:-/tmp}/torvel-e2e.XXXXXX")
PICTURES=${TORVEL_E2E_PICTURES:-$(dirname "$BIN")/e2e-pictures}
XSERVER= APP= WIN= GEOM= BUSY=
cleanup() {
    [ -z "$BUSY" ] || kill "$BUSY" 2>/dev/null || true
    [ -z "$APP" ] || { kill "$APP" && sleep 0.3 && kill -9 "$APP"; } 2>/dev/null || true
    [ -z "$XSERVER" ] || { kill "$XSERVER" && wait "$XSERVER"; } 2>/dev/null || true
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
# The program's hundred-frame reports, "FRAMES SECONDS" a line; the frame count of the latest, and
# the seconds per frame: between the last two, or since start-up (an upper bound), or 0.1 (as slow
# as it gets).
reports() { text err | sed -n 's/^\([0-9]*\) frames presented after \([0-9.]*\) s$/\1 \2/p' | tail -n 2; }
frames() { reports | awk '{n = $1} END {print n + 0}'; }
period() { reports | awk '{t[NR] = $2} END {printf "%.3f", (NR == 2 ? (t[2] - t[1]) / 100 : NR == 1 ? t[1] / 100 : 0.1)}'; }
# frame_time N: the seconds that N frames take at the current rate, at least 0.1.
frame_time() { awk -v n="$1" -v p="$(period)" 'BEGIN {t = n * p; printf "%.2f", t < 0.1 ? 0.1 : t}'; }
after() { sleep "$(frame_time "$1")"; }
# wait_frames N: until the program has reported N frames (at least ~7 frames a second).
wait_frames() {
    reached() { [ "$(frames)" -ge "$1" ] || { alive || fail "program ended before frame $1"; false; }; }
    poll $((($1 - $(frames)) * 3 / 20 + 10)) reached "$1" || fail "only $(frames) frames, not $1"
}

x_up() { [ -s "$W/display" ] && export DISPLAY=":$(head -n 1 "$W/display")" && xdpyinfo >/dev/null 2>&1; }
# start_x SERVER SECONDS OPTION...: a private X server, up within that time.
# -ardelay: a key held down does not repeat, so a press lasting a few frames is one press.
start_x() {
    "$1" -displayfd 3 -nolisten tcp -noreset -ardelay 60000 "${@:3}" 3>"$W/display" 2>"$W/$1.err" &
    XSERVER=$!
    poll "$2" x_up || fail "$1 did not start: $(grep -sF '(EE)' "$W/xorg.log" | tail -n 3)"
}
# mode WxH: the display's current mode becomes WxH within a few seconds.
mode() {
    current() { xrandr --current | awk '/\*/ {print $1; exit}'; }
    is_mode() { [ "$(current)" = "$1" ]; }
    poll 5 is_mode "$1" || fail "display mode $(current), not $1"
}
# start [VAR=VALUE...]: the program in the background in a private copy of its run directory
# (or, after install_moved or packaged, the installed one started from an unrelated directory),
# with SIGINT and SIGTERM at their defaults, or ignored after ignoring INT,TERM.
ENV_OPTIONS=(--default-signal=INT,TERM)
ignoring() { ENV_OPTIONS=(--ignore-signal="$1"); }
FROM=$W/run
start() {
    local display=()
    [ "$DISPLAY_KIND" != - ] || display=(-u DISPLAY)
    (cd "$FROM" && exec env "${ENV_OPTIONS[@]}" "${display[@]}" -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$W" \
        SDL_AUDIODRIVER=dummy TORVEL_TIMING=1 "$@" "${COMMAND[@]}" >"$W/out" 2>"$W/err") &
    APP=$!
}
signal() { kill -s "$1" "$APP"; }
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
await() { poll 20 shown "$1" || fail "no window \"$1\""; }
focus() { timeout 10 xdotool windowfocus --sync "$1" || fail "cannot focus window $1"; }
# box CAPTION Yes|No|OK: answers the message box with that caption by its keyboard default.
box() {
    await "$1"
    focus "$(window_id "$1")"
    tap "$([ "$2" = No ] && echo Escape || echo Return)"
    poll 10 gone "$1" || fail "the \"$1\" box is still shown after $2"
}
answer() { box "Start FullScreen?" "$1"; }
# windowed_run [VAR=VALUE...]: started with No to the start-up question, its window focused
# and showing the scene.
windowed_run() { start "$@" && answer No && at "Torvel Square Room" && drawn; }
# at TITLE: a new window of that title, 640 x 480 at the top-left corner, gets the focus.
at() {
    await "$1"
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
# spread FILE [CROP]: standard deviation of the grey levels in per mille (0: a plain area).
spread() { convert "$1" ${2:+-crop "$2"} -colorspace Gray -format '%[fx:int(1000 * standard_deviation)]' info:; }
drawn() {
    scene() { shot "$1" && [ "$(spread "$W/$1.ppm")" -gt 50 ]; }
    poll 10 scene "${1:-scene}" || fail "the window shows no scene (${1:-scene})"
}
blank_beside() { [ "$(spread "$W/root.ppm" 384x768+640+0)" -eq 0 ] || fail "drawing outside the window"; }

# lines out|err REGEX MIN MAX: between MIN and MAX lines of the program's stdout or stderr match.
lines() {
    local n
    n=$(text "$1" | grep -c -E "$2" || true)
    ((n >= $3 && n <= $4)) || fail "$n lines of std$1 match \"$2\", not $3 to $4"
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
# replayed FILE RESULT NAME...: the trace tool replays the program's recording FILE (in its run
# directory) to a line saying RESULT and status 0, and its commands are the NAMEs, in that order, at
# rising frames (a held key, in every frame it is held, once). A pass recorded that the program did not
# make, or one it made left out, would replay to another digest. The tool is BIN_DIR's torvel-trace, or
# what TORVEL_E2E_TRACE names for another build.
replayed() {
    local out trace got
    read -r -a trace <<<"${TORVEL_E2E_TRACE:-$BIN/torvel-trace}"
    [ -s "$W/run/$1" ] || fail "no recording $1"
    out=$(cd "$W/run" && "${trace[@]}" --keys "$1" 2>&1) || fail "replay of $1: $out"
    grep -qF "$2" <<<"$out" || fail "replay of $1: $out"
    cp "$W/run/$1" "$PICTURES/$RUN_NAME-$1" 2>/dev/null || true
    got=$(awk '/^[0-9]/ {bad = bad || $1 <= last; last = $1}
               /^[0-9]/ {for (i = 2; i <= NF; i++) { if ($i != held) printf "%s ", $i; held = $i }}
               END {exit bad}' "$W/run/$1") || fail "frames out of order in $1"
    [ "$got" = "${*:3} " ] || fail "$1 records \"$got\", not \"${*:3} \""
}
break_sound() { printf 'RIFF\x10\x00\x00\x00WAVEnot really a sound file\n' >"$W/run/Data/Explode.wav"; }
break_picture() { truncate -s 1000 "$W/run/data/wand.bmp"; }

# minimise: the window hidden as a window manager minimises it (unmapped) and shown again. While
# hidden: under 5 % of a core over 3 s, and no frame for 100 frames' time more. Once shown the
# scene moves again: pictures ten frames apart until one differs from the first in more than 50
# pixels (within about 150 frames).
minimise() {
    # Hidden just after a hundred-frame report, so that going on would bring the next one.
    wait_frames $(($(frames) + 100))
    local n ticks
    n=$(frames)
    timeout 10 xdotool windowunmap --sync "$WIN"
    ticks=$(awk '{print $14 + $15}' "/proc/$APP/stat")
    sleep 3
    ticks=$(($(awk '{print $14 + $15}' "/proc/$APP/stat") - ticks))
    [ "$ticks" -le $(($(getconf CLK_TCK) * 15 / 100)) ] || fail "$ticks CPU ticks in 3 s while hidden"
    after 100
    [ "$(frames)" -eq "$n" ] || fail "frames went on while the window was hidden"
    timeout 10 xdotool windowmap --sync "$WIN"
    focus "$WIN"
    shot shown && cp "$W/shown.ppm" "$W/before.ppm"
    moved() { after 10 && shot shown && [ "$(compare -metric AE -fuzz 2% "$W/before.ppm" "$W/shown.ppm" null: 2>&1 | cut -d. -f1)" -gt 50 ]; }
    poll $((3 + $(awk -v p="$(period)" 'BEGIN {printf "%d", 150 * p}'))) moved || fail "no frames once the window is shown again"
}

# The window made 800 x 600: the scene covers all of it, with no band left blank. Xvfb has no
# window manager to refuse the size, so the size hints must allow it too.
resize() {
    ! xprop -id "$WIN" WM_NORMAL_HINTS | grep -q 'maximum size' || fail "the size hints fix a maximum size"
    timeout 10 xdotool windowsize --sync "$WIN" 800 600 || fail "cannot resize"
    GEOM=800x600+0+0
    after 10
    drawn resized
    for band in 160x600+640+0 800x120+0+0 800x120+0+480; do
        [ "$(spread "$W/resized.ppm" "$band")" -gt 50 ] || fail "band $band of the resized window is blank"
    done
}

# renamed: the program started as another file name, which the class must not follow.
renamed() { mv "$W/run/torvel-room" "$W/run/renamed-room" && COMMAND=(./renamed-room); }
# window_class: the window's class (instance and class name) is the desktop entry's
# StartupWMClass, so that a dock groups it under the entry's icon.
window_class() {
    local want
    want=$(sed -n 's/^StartupWMClass=//p' "$SOURCE"/packaging/*.desktop)
    [ "$(xprop -id "$WIN" WM_CLASS)" = "WM_CLASS(STRING) = \"$want\", \"$want\"" ] ||
        fail "window class $(xprop -id "$WIN" WM_CLASS), not \"$want\""
}
# window_icon: a 64 x 64 icon, a round ball on a transparent ground: between a tenth and a half
# of its pixels fully transparent, and the centre opaque and lit.
window_icon() {
    local summary
    summary=$(xprop -id "$WIN" -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/^[^=]*= *//' | tr -d ' ' |
        awk -F, '{ for (i = 3; i <= NF; ++i) clear += int($i / 16777216) == 0
                   c = $(3 + 32 * 64 + 32); lit = int(c / 16777216) == 255 && c % 16777216 != 0
                   printf "%d %d %d %d", $1, $2, clear, lit }')
    read -r width height clear centre <<<"$summary"
    [ "$width x $height" = "64 x 64" ] || fail "window icon $width x $height, not 64 x 64"
    ((clear > 409 && clear < 2048 && centre == 1)) || fail "the window icon is no ball on a clear ground: $summary"
}

# checked WHAT COMMAND...: the command with its output kept, shown when it fails.
checked() { "${@:2}" >"$W/checked.log" 2>&1 || fail "$1: $(tail -n 20 "$W/checked.log")"; }
# from_elsewhere PROGRAM: the installed program, started in an unrelated directory with an empty
# data/ of its own.
from_elsewhere() { mkdir -p "$W/elsewhere/data" && COMMAND=("$1") FROM=$W/elsewhere; }
# install_moved: the build installed into a temporary prefix, the tree moved once, and the
# program started from there.
install_moved() {
    checked "cmake --install" cmake --install "$BIN/.." --prefix "$W/installed"
    mv "$W/installed" "$W/moved" && from_elsewhere "$W/moved/bin/torvel-room"
}
remove_installed() { rm "$W/moved/share/torvel-room/$1"; }
# packaged: the Debian package built, clean for lintian and the validators, unpacked into a
# temporary root and its program started from there.
packaged() {
    local deb
    checked cpack cpack --config "$BIN/../CPackConfig.cmake" -G DEB -B "$W/package"
    deb=$(echo "$W"/package/torvel-room_1.0-*_amd64.deb)
    [ -f "$deb" ] || fail "no package in $W/package"
    checked lintian lintian --fail-on error,warning "$deb"
    dpkg-deb -x "$deb" "$W/root"
    checked "desktop entry" desktop-file-validate "$W"/root/usr/share/applications/*.desktop
    checked metainfo appstreamcli validate --no-net "$W"/root/usr/share/metainfo/*.xml
    from_elsewhere "$W/root/usr/bin/torvel-room"
}

# SIGINT while the start-up question waits: the program ends within a second and never shows
# its window.
sigint_at_question() {
    await "Start FullScreen?"
    local t0
    t0=$(date +%s%N)
    signal INT
    quietly_ended() { absent "Torvel Square Room" && ended; }
    poll 3 quietly_ended || fail "still running 3 s after SIGINT"
    t0=$((($(date +%s%N) - t0) / 1000000))
    [ "$t0" -le 1000 ] || fail "ended $t0 ms after SIGINT"
}

# SIGINT and SIGTERM inherited as ignored stay so, also while the start-up question waits.
ignored_at_question() {
    await "Start FullScreen?"
    signal INT && signal TERM && sleep 1
    alive || fail "an ignored signal ended the program"
}
# early_signals: SIGINT and SIGTERM 0 to 300 ms after the program's exec, one core kept busy: each
# ends it within a second, with status 0, or by the signal where /proc showed no handler yet.
early_signals() {
    local ms sig bit caught t0 got
    (while :; do :; done) &
    BUSY=$!
    for ms in $(seq 0 50 300); do
        read -r sig bit <<<"$( ((ms % 100)) && echo TERM 16384 || echo INT 2)"
        start
        until [ "/proc/$APP/exe" -ef "$W/run/torvel-room" ]; do alive || fail "did not start"; done
        sleep "$(printf 0.%03d "$ms")"
        caught=$(awk '/^SigCgt/ {print $2}' "/proc/$APP/status")
        t0=$(date +%s%N)
        signal "$sig"
        for _ in {1..50}; do ended || sleep 0.02; done
        ended && (($(date +%s%N) - t0 <= 1000000000)) || fail "SIG$sig at $ms ms did not end it within a second"
        got=0 && wait "$APP" || got=$?
        APP=
        ((got == 0 || (0x$caught & bit) == 0 && got == 128 + (bit == 2 ? 2 : 15))) ||
            fail "SIG$sig at $ms ms: status $got with the signals caught as $caught"
    done
    kill "$BUSY"
}
# killed_at CAPTION: SIGKILL while that box is open leaves, a second later, neither the box nor a
# process of the program's.
killed_at() {
    await "$1"
    local child children
    children=$(pgrep -P "$APP") || fail "the \"$1\" box has no process of its own"
    signal KILL && status 137 && sleep 1
    absent "$1"
    for child in $children; do
        [[ "$(ps -o stat= -p "$child")" =~ ^(Z|$) ]] || fail "process $child outlived the program"
    done
}

# The row's steps, each one of the step words above and its arguments, checked before anything
# starts; printf %q quotes the words xargs took apart again for eval.
IFS=';' read -r -a STEPS <<<"$STEPS"
for step in "${STEPS[@]}"; do
    words=$(xargs printf '%q ' <<<"${step//\$W/$W}") && read -r word _ <<<"$words" &&
        declare -F "$word" >/dev/null || fail "no step \"$step\""
    RUN+=("$words")
done
mkdir "$W/run"
cp -r "$BIN/data" "$BIN/Data" "$W/run/"
for f in "${COMMAND[@]/#/$BIN/}" "$BIN"/*.dll; do [ ! -f "$f" ] || cp "$f" "$W/run/"; done
case $DISPLAY_KIND in
    xvfb:*) start_x Xvfb 10 -screen 0 "${DISPLAY_KIND#xvfb:}" -br ;;
    # A real X server whose display modes change: Xorg with the dummy video driver as xorg-dummy.conf
    # sets it up. Its configuration and log stay in the test's directory; it shares the current
    # virtual terminal instead of taking one.
    xorg)
        mkdir "$W/xorg.conf.d"
        cp "$SOURCE/tests/app/xorg-dummy.conf" "$W/xorg.conf"
        start_x Xorg 20 -config "$W/xorg.conf" -configdir "$W/xorg.conf.d" -logfile "$W/xorg.log" -sharevts \
            -novtswitch -keeptty
        ;;
    -) ;;
    *) fail "unknown display $DISPLAY_KIND" ;;
esac
for words in "${RUN[@]}"; do eval "$words"; done
echo "$RUN_NAME: ok"
