#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [release|debug|asan] (default release).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
bash scripts/ensure-packages.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
