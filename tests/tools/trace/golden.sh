#!/bin/sh
# golden.sh TRACE GOLDEN N FRAMES [FLAGS...]: fails unless "TRACE FRAMES FLAGS --digest N" (N = 0:
# the frames themselves) prints exactly the recorded file GOLDEN, and then names the first line
# that differs. With TORVEL_UPDATE_GOLDEN=1 it records GOLDEN instead (scripts/update-golden.sh).
# TORVEL_RUNNER, when set, runs TRACE (Wine for the Windows build, whose lines end in CR LF: the
# comparison takes them without the CR).
set -u
trace=$1 golden=$2 digest=$3
shift 3
out=$(mktemp) || exit 1
trap 'rm -f "$out" "$out.crlf"' EXIT
run() { ${TORVEL_RUNNER:+"$TORVEL_RUNNER"} "$trace" "$@"; }
if [ "$digest" = 0 ]; then run "$@"; else run "$@" --digest "$digest"; fi >"$out.crlf" || exit 1
tr -d '\r' <"$out.crlf" >"$out"
if [ "${TORVEL_UPDATE_GOLDEN:-0}" = 1 ]; then
    cat "$out" >"$golden" && echo "recorded $golden"
    exit
fi
[ -f "$golden" ] || { echo "no recording $golden: scripts/update-golden.sh makes it" >&2; exit 1; }
cmp -s "$golden" "$out" && { echo "torvel-trace $* as recorded: $(wc -l <"$out") lines"; exit 0; }
echo "torvel-trace $* differs from $golden (<: recorded, >: this build), first:" >&2
diff "$golden" "$out" | head -n 5 >&2
# A digest names a block of frames; show how this build begins it (a build that still matches
# the recording, run with --digest 1 up to the block's end, finds the very frame).
block=$(diff "$golden" "$out" | sed -n 's/^[<>] frames \([0-9]*\)-\([0-9]*\) .*/\1 \2/p' | head -n 1)
[ -n "$block" ] || exit 1
first=${block% *} last=${block#* }
shift # FRAMES: this run stops at the block's end
echo "this build from frame $first:" >&2
run "$last" "$@" | tr -d '\r' | awk -v first="$first" '$1 == "frame" { show = $2 >= first } show' | head -n 24 >&2
exit 1
