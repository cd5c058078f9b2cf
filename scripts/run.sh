#!/usr/bin/env bash
# Builds the program, generates its pictures and sound, and starts it from the build's run directory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/lib/ensure-packages.sh
cmake --preset release >/dev/null
cmake --build --preset release
cd build/release/bin
exec ./torvel-room "$@"
