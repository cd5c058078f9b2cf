#!/usr/bin/env bash
# Builds and runs the whole test suite: scripts/test.sh [release|debug|asan|web|windows] (default
# release). web: the page (scripts/build-web.sh), its trace tool under node and the page in a
# browser. windows: the Windows build of scripts/build-windows.sh, its tests run under Wine.
. "$(dirname "$0")/lib/preamble.sh"
preset=${1:-release}
case $preset in
    web)
        bash scripts/build-web.sh
        ctest --preset web
        ;;
    windows)
        bash scripts/build-windows.sh
        trap 'bash scripts/lib/wine-run.sh --stop' EXIT
        ctest --preset windows
        ;;
    *)
        build "$preset"
        ctest --preset "$preset"
        ;;
esac
