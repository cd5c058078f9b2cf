#!/usr/bin/env bash
# Records the golden traces under tests/tools/trace/golden/ again from the release build, for the
# day a change to the physics or to the printed form is meant to change the results. Read the
# difference before committing it: a digest line names the block of frames it covers.
. "$(dirname "$0")/lib/preamble.sh"
build release torvel-trace
TORVEL_UPDATE_GOLDEN=1 ctest --preset release -L golden
git diff --stat -- tests/tools/trace/golden
git status --short -- tests/tools/trace/golden
