# shellcheck shell=bash
# The start the scripts people run share, sourced: stop at the first failure, work from the
# repository's root, and have the Debian packages installed (with packages=web or packages=windows
# set for the sourcing, that build's as well). build PRESET [TARGET...] configures quietly and
# builds the preset, or only the targets named.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
bash scripts/lib/ensure-packages.sh ${packages:+"$packages"}

build() {
    local preset=$1
    shift
    cmake --preset "$preset" >/dev/null
    if (($#)); then
        cmake --build --preset "$preset" --target "$@"
    else
        cmake --build --preset "$preset"
    fi
}
