#!/usr/bin/env bash
# Minimised and restored: no frames while the window is minimised, frames again after it is
# restored. There is no window manager under the private X server, so minimising is done the
# way one does it: the window is unmapped and mapped again. The program's timing lines (one
# per hundred frames) show it: the hundred frames that span the pause take the pause longer
# than any other hundred.
source "$(dirname "$0")/lib.sh" "$1"
hidden=${2:-8}
start_xvfb 640x480x24
fresh_rundir
start_app
answer "Start FullScreen?" Escape
id=$(wait_window "Torvel Square Room")
focus "Torvel Square Room"

# wait_lines N: waits (at most a minute) until the program has reported N hundred frames.
wait_lines() {
    local i
    for i in $(seq 600); do
        [ "$(grep -c 'frames presented after' "$WORK/stderr")" -ge "$1" ] && return 0
        kill -0 "$APP_PID" 2>/dev/null || fail "program ended"
        sleep 0.1
    done
    fail "fewer than $1 hundred frames within a minute"
}

wait_lines 2
timeout 10 xdotool windowunmap --sync "$id"
sleep "$hidden"
timeout 10 xdotool windowmap --sync "$id"
focus "Torvel Square Room"
wait_lines 5
quit_by_escape
no_crash
[ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS"

# Seconds taken by each hundred frames; the third hundred holds the pause.
gaps=$(sed -n 's/^[0-9]* frames presented after \([0-9.]*\) s$/\1/p' "$WORK/stderr" |
    awk 'NR > 1 {printf "%.1f\n", $1 - last} {last = $1}')
echo "seconds per hundred frames:" $gaps
paused=$(sed -n 2p <<<"$gaps")
others=$(sed -n '1p;3,$p' <<<"$gaps" | sort -n | tail -n 1)
awk -v p="$paused" -v o="$others" -v h="$hidden" 'BEGIN {exit !(p >= h && p - o >= h / 2)}' ||
    fail "frames went on while the window was minimised ($paused s against at most $others s)"
echo "minimise: ok"
