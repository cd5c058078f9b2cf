#!/usr/bin/env bash
# Builds the program, generates its pictures and sound, and starts it from the build's run directory.
. "$(dirname "$0")/lib/preamble.sh"
build release
cd build/release/bin
exec ./torvel-room "$@"
