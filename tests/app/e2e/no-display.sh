#!/usr/bin/env bash
# Without a display the program does not run invisibly: it says why and ends with status 1.
source "$(dirname "$0")/lib.sh" "$1"
make_rundir
status=0
(cd "$RUN" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
    timeout 20 ./torvel-room >"$WORK/stdout" 2>"$WORK/stderr") || status=$?
[ "$status" -eq 1 ] || fail "exit status $status"
grep -qF "No display to open a window on" "$WORK/stderr" || fail "no reason on stderr"
grep -qF "ERROR: Window Creation Error." "$WORK/stderr" || fail "no failure message on stderr"
echo "no-display: ok"
