#!/bin/sh
# refused-arguments.sh BIN: every argument list below must be refused by its tool in BIN with
# exit status 2, nothing on stdout and the tool's one usage line on stderr.
set -u
bin=$1
err=$(mktemp) || exit 1
trap 'rm -f "$err"' EXIT
failed=0
# One case per line: the tool, then its arguments quoted as in a shell.
while read -r line; do
    eval "set -- $line"
    tool=$1
    shift
    out=$("$bin/torvel-$tool" "$@" 2>"$err" </dev/null)
    status=$?
    if [ "$status" -ne 2 ] || [ -n "$out" ] || [ "$(wc -l <"$err")" -ne 1 ] ||
        ! grep -q "^usage: torvel-$tool FRAMES " "$err"; then
        echo "not refused as it should be: $line (exit status $status)" >&2
        failed=1
    fi
done <<'EOF'
trace
trace ten
trace 10x
trace ' 10'
trace -1
trace 99999999999999999999999
trace 10 20
trace --every 2
trace 10 --every 0
trace 10 --every
trace 10 --every 2 --every 3
trace 10 --time-step 0.6s
trace 10 --time-step ''
trace 10 --time-step ' 1'
trace 10 --time-step inf
trace 10 --time-step nan
trace 10 --time-step 1e999
trace 10 --digest 0
trace 10 --digest
trace 10 --digest 1 --digest 1
trace 10 --frames
soak
soak 10 20
soak 10 --every 2
soak 10 --time-step
soak 10 --time-step 1 --time-step 1
EOF
exit $failed
