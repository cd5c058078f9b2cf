#!/usr/bin/env bash
# Builds the Debian package of the release build into build/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/lib/ensure-packages.sh
cmake --preset release >/dev/null
cmake --build --preset release
cpack --preset release
ls build/package/*.deb
