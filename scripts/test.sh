#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [release|debug|asan|web] (default release).
# web: the page (scripts/build-web.sh), its trace tool under node and the page in a browser.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
if [ "$preset" = web ]; then
    bash scripts/build-web.sh
    exec ctest --preset web
fi
bash scripts/ensure-packages.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
