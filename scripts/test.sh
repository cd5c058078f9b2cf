#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [release|debug|asan|web|windows] (default
# release). web: the page (scripts/build-web.sh), its trace tool under node and the page in a
# browser. windows: the Windows build of scripts/build-windows.sh, its tests run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
if [ "$preset" = web ]; then
    bash scripts/build-web.sh
    exec ctest --preset web
fi
bash scripts/lib/ensure-packages.sh
if [ "$preset" = windows ]; then
    bash scripts/build-windows.sh
    trap 'bash scripts/lib/wine-run.sh --stop' EXIT
    ctest --preset windows
    exit
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
