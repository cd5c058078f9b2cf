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
# diff's first command is "L1[,L2]{a,c,d}...": line L1 of the recording, or the one after it for "a".
line=$(diff "$golden" "$out" | sed -n '1s/^\([0-9]*\).*/\1/p')
diff "$golden" "$out" | head -n 1 | grep -q '^[0-9,]*a' && line=$((line + 1))
printf 'torvel-trace %s differs from %s, first at line %s:\n  recorded:   %s\n  this build: %s\n' "$*" \
    "$golden" "$line" "$(sed -n "${line}p" "$golden")" "$(sed -n "${line}p" "$out")" >&2
# A digest names a block of frames; show how this build begins it (a build that still matches
# the recording, run with --digest 1 up to the block's end, finds the very frame).
block=$(for file in "$golden" "$out"; do sed -n "${line}s/^frames \([0-9]*\)-\([0-9]*\) .*/\1 \2/p" "$file"; done | head -n 1)
[ -n "$block" ] || exit 1
first=${block% *} last=${block#* }
shift # FRAMES: this run stops at the block's end
echo "this build from frame $first:" >&2
run "$last" "$@" | tr -d '\r' | awk -v first="$first" '$1 == "frame" { show = $2 >= first } show' | head -n 24 >&2
exit 1
