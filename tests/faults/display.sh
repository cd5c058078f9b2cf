#!/usr/bin/env bash
# No display to show the window on: display.sh BIN_DIR CASE (unset: no DISPLAY at all; dead: a
# DISPLAY that no server answers). The program says why on stderr and ends with status 1,
# without a picture being loaded and without hanging on a question nobody can answer.
source "$(dirname "$0")/lib.sh" "$1"
FAULT_CASE=${2:?usage: display.sh BIN_DIR CASE}
fresh_rundir
case $FAULT_CASE in
    unset) display=() ;;
    dead) display=(DISPLAY=:31999) ;;
    *) fail "unknown case $FAULT_CASE" ;;
esac
APP_STATUS=0
(cd "$RUN" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "${display[@]}" \
    timeout 20 ./torvel-room >"$WORK/stdout" 2>"$WORK/stderr") || APP_STATUS=$?
no_crash
[ "$APP_STATUS" -ne 124 ] || fail "still running after 20 s"
[ "$APP_STATUS" -eq 1 ] || fail "exit status $APP_STATUS, not 1"
grep -qiE 'display|window system' "$WORK/stderr" || fail "no reason on stderr"
[ ! -s "$WORK/stdout" ] || fail "pictures were loaded without a window"
echo "display $FAULT_CASE: ok"
