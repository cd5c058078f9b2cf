#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS...]: runs a Windows program of the cross build under Wine, in the
# project's own Wine prefix (build/wine, or $WINEPREFIX). CMake runs the cross-built programs
# through it (the tests, the generation of the pictures and the sound).
#   wine-run.sh --stop   ends that prefix's Wine server.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wine}
# Wine's own diagnostics stay off stderr, and no dialog offers to install its .NET or HTML engines.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

if [ "${1:-}" = --stop ]; then
    [ ! -d "$WINEPREFIX" ] || wineserver -k 2>/dev/null || true
    exit 0
fi

# A window makes Wine start the desktop process, which loads the X display driver; a program waits
# for it about ten seconds and then takes Wine's null driver, whose windows fail ("no driver could
# be loaded", which SDL reports as "Class does not exist"). The server's first start of it can
# outlast that on busy cores, so a throwaway window (rundll32's own: no sound, no program of ours)
# on a private Xvfb starts it first, again until a window gets the real driver. Its desktop
# process ends with that display; each test's display gets its own, now started in seconds.
warm_up() {
    command -v Xvfb >/dev/null || return 0
    local dir xvfb try pid alive
    dir=$(mktemp -d)
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$dir/display" 2>/dev/null </dev/null &
    xvfb=$!
    for try in $(seq 50); do [ -s "$dir/display" ] && break || sleep 0.2; done
    if [ -s "$dir/display" ]; then
        for try in 1 2 3; do
            DISPLAY=":$(head -n 1 "$dir/display")" WINEDEBUG=err+winediag \
                wine rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>"$dir/err" </dev/null || true
            grep -q nodrv_CreateWindow "$dir/err" || break
        done
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$dir"
    # The first test window must not find the desktop of the display just gone.
    for try in $(seq 50); do
        alive=
        for pid in /proc/[0-9]*; do
            grep -qF 'explorer.exe' "$pid/cmdline" 2>/dev/null &&
                tr '\0' '\n' <"$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && alive=1
        done
        [ -n "$alive" ] || return 0
        sleep 0.2
    done
}

# The first Wine program of a server starts Wine's background services, which keep its standard
# handles open for as long as they run: a test runner reading the program's output through a pipe
# would wait for them for ever. So the server is made to stay (-p) and its services are started
# by a program whose output goes nowhere, once, before the first real run.
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.server-lock"
flock 9
status=0
wineserver -p >/dev/null 2>&1 </dev/null || status=$?
if [ "$status" -eq 0 ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    # Without a display: the services must not hang on to one X server of many.
    env -u DISPLAY wine cmd /c exit >/dev/null 2>&1 </dev/null
    warm_up
elif [ "$status" -ne 2 ]; then  # 2: already running
    echo "wine-run.sh: cannot start the Wine server for $WINEPREFIX" >&2
    exit 1
fi
flock -u 9
exec 9>&-
exec wine "$@"
