#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [release|debug|asan|windows] (default release).
# windows: the Windows build of scripts/build-windows.sh, its tests run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
bash scripts/ensure-packages.sh
if [ "$preset" = windows ]; then
    bash scripts/build-windows.sh
    trap 'bash scripts/wine-run.sh --stop' EXIT
    ctest --preset windows
    exit
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
