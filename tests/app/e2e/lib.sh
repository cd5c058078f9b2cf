# Shared steps of the end-to-end tests: a private X server, a private copy of the run
# directory, the program in the background, and bounded waits for its windows.
# Sourced by the test scripts; the first argument of every script is the build's bin/ directory.
set -euo pipefail

BIN_DIR=$(cd "$1" && pwd)
# In a sanitizer build, the leaks left at exit belong to the window system's libraries (D-Bus,
# a GL driver unloaded before the report); our own code is leak-checked by the unit tests.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"
fi
WORK=$(mktemp -d "${TMPDIR:-/tmp}/torvel-e2e.XXXXXX")
XVFB_PID=
APP_PID=
APP_STATUS=

cleanup() {
    if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null || true
        sleep 0.2
        kill -9 "$APP_PID" 2>/dev/null || true
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for f in "$WORK"/stdout "$WORK"/stderr; do
        [ -f "$f" ] && { echo "--- $(basename "$f")" >&2; tail -n 30 "$f" >&2; }
    done
    exit 1
}

# poll SECONDS COMMAND...: true once the command succeeds within that time.
poll() {
    local i
    for i in $(seq $(($1 * 10))); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

# running WHAT: fails the test when the program has ended while WHAT was awaited.
running() { kill -0 "$APP_PID" 2>/dev/null || fail "program ended while waiting for $1"; }

# start_xvfb WIDTHxHEIGHTxDEPTH: a server on a free display number, DISPLAY set to it.
start_xvfb() {
    local fifo="$WORK/displayfd"
    : >"$fifo"
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset -br 3>"$fifo" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    xvfb_ready() {
        [ -s "$fifo" ] && export DISPLAY=":$(head -n 1 "$fifo")" && xdpyinfo >/dev/null 2>&1
    }
    poll 10 xvfb_ready || fail "Xvfb did not start"
}

# make_rundir: the program with its pictures and sound in a directory of its own, so that a
# test can remove files.
make_rundir() {
    RUN="$WORK/run"
    mkdir -p "$RUN"
    cp "$BIN_DIR/torvel-room" "$RUN/"
    cp -r "$BIN_DIR/data" "$BIN_DIR/Data" "$RUN/"
}

# start_app [VAR=value ...]: the program in the background in the run directory.
start_app() {
    (cd "$RUN" && exec env SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" TORVEL_TIMING=1 "$@" ./torvel-room \
        >"$WORK/stdout" 2>"$WORK/stderr") &
    APP_PID=$!
}

# window_id NAME: the id of the shown top-level window with that exact name, or nothing.
window_id() {
    local id
    for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}'); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            echo "$id"
            return 0
        fi
    done
}

shown() { [ -n "$(window_id "$1")" ]; }
gone() { ! shown "$1"; }
ended() { ! kill -0 "$APP_PID" 2>/dev/null; }
shown_while_running() { shown "$1" || { running "\"$1\""; false; }; }

# wait_window NAME [SECONDS]: waits until a window of that name exists and prints its id.
wait_window() {
    poll "${2:-10}" shown_while_running "$1" || fail "no window \"$1\" within ${2:-10} s"
    window_id "$1"
}

# wait_gone NAME: waits until no window of that name exists.
wait_gone() { poll 10 gone "$1" || fail "window \"$1\" still there"; }

# focus NAME [KEY]: gives the program's window the keyboard focus, and presses a key in it.
focus() {
    local id
    id=$(wait_window "$1")
    timeout 10 xdotool windowfocus --sync "$id" ${2:+key "$2"} || fail "cannot focus \"$1\""
}

# answer CAPTION KEY: answers the message box with that caption with a key (Return: Yes or OK,
# Escape: No).
answer() {
    focus "$1" "$2"
    wait_gone "$1"
}

# press KEY [SECONDS]: holds a key down long enough for frames to see it.
press() {
    timeout 5 xdotool keydown "$1"
    sleep "${2:-0.15}"
    timeout 5 xdotool keyup "$1"
    sleep 0.1
}

# geometry NAME: "WIDTHxHEIGHT+X+Y" of a window.
geometry() {
    xwininfo -root -tree | grep -F "\"$1\":" | awk '{print $(NF-1); exit}'
}

# wait_exit [SECONDS]: waits for the program to end and sets APP_STATUS.
wait_exit() {
    poll "${1:-10}" ended || fail "program still running after ${1:-10} s"
    APP_STATUS=0
    wait "$APP_PID" || APP_STATUS=$?
    APP_PID=
}

# expect_exit STATUS WHY: waits for the program to end with that status.
expect_exit() {
    wait_exit
    [ "$APP_STATUS" -eq "$1" ] || fail "exit status $APP_STATUS $2"
}

# quit_by_escape WINDOW: Escape in the window ends the program with status 0.
quit_by_escape() {
    focus "$1"
    press Escape
    expect_exit 0 "after Escape"
}

# screenshot FILE: the whole screen as a picture.
screenshot() {
    import -window root "$1"
}

# differs A B: true when two pictures differ in more than a few pixels.
differs() {
    local count
    count=$(compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1 || true)
    [ "${count%%.*}" -gt 50 ] 2>/dev/null
}

# colour_spread FILE [GEOMETRY]: standard deviation of the grey levels (0 for a blank picture).
colour_spread() {
    local crop=()
    [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
    convert "$1" "${crop[@]}" -colorspace Gray -format '%[fx:int(standard_deviation*1000)]' info:
}

# keep_picture FILE NAME: leaves a copy where a developer can look at it (TORVEL_E2E_PICTURES).
keep_picture() {
    if [ -n "${TORVEL_E2E_PICTURES:-}" ]; then
        mkdir -p "$TORVEL_E2E_PICTURES"
        cp "$1" "$TORVEL_E2E_PICTURES/$2"
    fi
}
