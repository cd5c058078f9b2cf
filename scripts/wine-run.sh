#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS...]: runs a Windows program of the cross build under Wine, in the
# project's own Wine prefix (build/wine, or $WINEPREFIX). CMake runs the cross-built programs
# through it (the tests, the generation of the pictures and the sound).
#   wine-run.sh --stop   ends that prefix's Wine server.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wine}
# Wine's own diagnostics stay off stderr, and no dialog offers to install its .NET or HTML engines.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

if [ "${1:-}" = --stop ]; then
    [ ! -d "$WINEPREFIX" ] || wineserver -k 2>/dev/null || true
    exit 0
fi

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
elif [ "$status" -ne 2 ]; then  # 2: already running
    echo "wine-run.sh: cannot start the Wine server for $WINEPREFIX" >&2
    exit 1
fi
flock -u 9
exec 9>&-
exec wine "$@"
