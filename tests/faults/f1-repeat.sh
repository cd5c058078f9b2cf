#!/usr/bin/env bash
# F1 fifty times in a row: every press closes the window and its context and opens them again
# in the other display mode. Afterwards the scene still draws, and the memory the program
# holds does not grow with the number of rebuilds.
source "$(dirname "$0")/lib.sh" "$1"
presses=${2:-50}
start_xvfb_without_repeat 640x480x24
fresh_rundir
start_app
answer "Start FullScreen?" Escape
id=$(wait_window "Torvel Square Room")
focus "Torvel Square Room"
sleep 0.5

# new_window OLD_ID: waits for a "Torvel Room" window other than OLD_ID and prints its id.
new_window() {
    local i now
    for i in $(seq 200); do
        now=$(window_id "Torvel Room")
        if [ -n "$now" ] && [ "$now" != "$1" ]; then
            echo "$now"
            return 0
        fi
        kill -0 "$APP_PID" 2>/dev/null || fail "program ended during the rebuilds"
        sleep 0.05
    done
    fail "no new window after F1"
}

rss_after=()
for ((n = 1; n <= presses; n++)); do
    timeout 10 xdotool windowfocus --sync "$id" || fail "cannot focus the window before press $n"
    # Held until the new window is there: a key that is down and up again before the next
    # frame does nothing, and frames are slow under the sanitizers.
    timeout 5 xdotool keydown F1
    id=$(new_window "$id")
    timeout 5 xdotool keyup F1
    # A few frames in each mode, so that every context really draws.
    sleep 0.1
    case $n in 10 | "$presses") rss_after[n]=$(rss_kb) ;; esac
done
echo "RSS after 10 rebuilds ${rss_after[10]} KiB, after $presses ${rss_after[presses]} KiB"
growth=$((rss_after[presses] - rss_after[10]))
# Each rebuild makes a context, four textures of 256 x 256 and a display list; what an old
# context held must not pile up: allow 16 MiB over forty rebuilds (well below one per rebuild).
[ "$growth" -lt 16384 ] || fail "resident memory grew by $growth KiB over $((presses - 10)) rebuilds"

# An even count ends windowed, at the window's own size.
[ $((presses % 2)) -ne 0 ] || [ "$(geometry "Torvel Room" | cut -d+ -f1)" = 640x480 ] ||
    fail "not back in a 640x480 window: $(geometry "Torvel Room")"
sleep 0.5
FAULT_CASE=after-$presses scene_drawn "Torvel Room"
timeout 10 xdotool windowfocus --sync "$id"
quit_by_escape
no_crash
[ "$APP_STATUS" -eq 0 ] || fail "exit status $APP_STATUS"
echo "f1-repeat: ok"
