#!/usr/bin/env bash
# Builds the Debian package of the release build into build/package/.
. "$(dirname "$0")/lib/preamble.sh"
build release
cpack --preset release
ls build/package/*.deb
