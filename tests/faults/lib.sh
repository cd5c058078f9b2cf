# Steps shared by the fault runs, on top of the end-to-end helpers (private X server, private
# run directory, bounded waits). Sourced with the build's bin/ directory as first argument.
source "$(dirname "${BASH_SOURCE[0]}")/../app/e2e/lib.sh" "$1"

# fresh_rundir: a new copy of the program, its pictures and its sound.
fresh_rundir() {
    rm -rf "$WORK/run"
    make_rundir
}

# no_crash: the program's stderr holds no sanitizer report and its status is no signal.
no_crash() {
    if grep -qE 'AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|runtime error:' "$WORK/stderr"; then
        fail "sanitizer report"
    fi
    [ -z "$APP_STATUS" ] || [ "$APP_STATUS" -lt 128 ] || fail "ended by signal $((APP_STATUS - 128))"
}

# le32 FILE OFFSET: the little-endian 32-bit number at OFFSET.
le32() {
    od -An -tu4 -j "$2" -N 4 --endian=little "$1" | tr -d ' '
}

# poke32 FILE OFFSET VALUE: writes VALUE there as a little-endian 32-bit number.
poke32() {
    local v=$3
    printf "\\x$(printf %02x $((v & 255)))\\x$(printf %02x $((v >> 8 & 255)))\\x$(printf %02x $((v >> 16 & 255)))\\x$(printf %02x $((v >> 24 & 255)))" |
        dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# header_lines NAME...: the width and height lines the loader prints for these pictures
# as they are in the run directory.
header_lines() {
    local name
    for name in "$@"; do
        printf 'Width of %s: %s\nHeight of %s: %s\n' "$name" "$(le32 "$RUN/$name" 18)" \
            "$name" "$(le32 "$RUN/$name" 22)"
    done
}

# rss_kb: the program's resident memory in KiB.
rss_kb() {
    awk '/^VmRSS:/ {print $2}' "/proc/$APP_PID/status"
}

# frames_presented: the frame count of the program's closing timing line.
frames_presented() {
    sed -n 's/^\([0-9]*\) frames presented in .*/\1/p' "$WORK/stderr" | tail -n 1
}

# scene_drawn NAME: the window shows a scene, not a blank or single-coloured picture.
scene_drawn() {
    screenshot "$WORK/scene.png"
    local spread
    spread=$(colour_spread "$WORK/scene.png" "$(geometry "$1")")
    [ "$spread" -gt 50 ] || fail "window \"$1\" shows no scene (grey spread $spread)"
    keep_picture "$WORK/scene.png" "faults-$(basename "$0" .sh)-${FAULT_CASE:-scene}.png"
}

# start_xvfb_without_repeat WIDTHxHEIGHTxDEPTH: as start_xvfb, but a key held down does not
# repeat for a minute, so a key can be held until the program has acted on it.
start_xvfb_without_repeat() {
    local fifo="$WORK/displayfd"
    : >"$fifo"
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset -br -ardelay 60000 3>"$fifo" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    local i
    for i in $(seq 100); do
        if [ -s "$fifo" ]; then
            export DISPLAY=":$(head -n 1 "$fifo")"
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    fail "Xvfb did not start"
}

# quit_by_escape [SECONDS]: holds Escape until the program has ended (slow frames under the
# sanitizers must not miss it) and sets APP_STATUS.
quit_by_escape() {
    timeout 5 xdotool keydown Escape
    wait_exit "${1:-20}"
    timeout 5 xdotool keyup Escape || true
}
