#!/bin/sh
# golden.sh TRACE GOLDEN FRAMES [FLAGS...]: fails unless "TRACE FRAMES FLAGS" prints exactly the
# recorded file GOLDEN, and then names the first line that differs. With TORVEL_UPDATE_GOLDEN=1
# it records GOLDEN instead (scripts/update-golden.sh).
set -u
trace=$1 golden=$2
shift 2
out=$(mktemp) || exit 1
trap 'rm -f "$out"' EXIT
"$trace" "$@" >"$out" || { echo "torvel-trace $* failed" >&2; exit 1; }
if [ "${TORVEL_UPDATE_GOLDEN:-0}" = 1 ]; then
    cat "$out" >"$golden" && echo "recorded $golden"
    exit
fi
[ -f "$golden" ] || { echo "no recording $golden: scripts/update-golden.sh makes it" >&2; exit 1; }
if cmp -s "$golden" "$out"; then
    echo "torvel-trace $*: as recorded, $(wc -l <"$out") lines"
    exit 0
fi
# diff's first command is "L1[,L2]{a,c,d}...": line L1 of the recording, or the one after it for "a".
line=$(diff "$golden" "$out" | sed -n '1s/^\([0-9]*\).*/\1/p')
diff "$golden" "$out" | head -n 1 | grep -q '^[0-9,]*a' && line=$((line + 1))
echo "torvel-trace $* differs from $golden, first at line $line:" >&2
echo "  recorded:   $(sed -n "${line}p" "$golden")" >&2
echo "  this build: $(sed -n "${line}p" "$out")" >&2
# A digest names a block of frames; show how this build begins it (a build that still matches
# the recording, run with --digest 1 up to the block's end, finds the very frame).
block=$(for file in "$golden" "$out"; do sed -n "${line}s/^frames \([0-9]*\)-\([0-9]*\) .*/\1 \2/p" "$file"; done | head -n 1)
[ -n "$block" ] || exit 1
first=${block% *} last=${block#* }
shift
flags=
while [ $# -gt 0 ]; do
    case $1 in --digest) shift ;; *) flags="$flags $1" ;; esac
    shift
done
echo "this build from frame $first:" >&2
# shellcheck disable=SC2086
"$trace" "$last" $flags | awk -v first="$first" '$1 == "frame" { show = $2 >= first } show' | head -n 24 >&2
exit 1
