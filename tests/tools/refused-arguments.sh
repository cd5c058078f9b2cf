#!/bin/sh
# refused-arguments.sh BIN: every argument list below must be refused by its tool in BIN with
# exit status 2 and nothing but the tool's usage line. TORVEL_RUNNER, when set, runs the tools (Wine
# for the Windows build, whose lines end in CR LF).
set -u
bin=$1
usage_trace='usage: torvel-trace FRAMES [--every K] [--time-step X] [--digest N]'
usage_soak='usage: torvel-soak FRAMES [--time-step X]'
failed=0
exe=
[ ! -f "$bin/torvel-trace.exe" ] || exe=.exe
# One case per line: the tool, then its arguments quoted as in a shell.
while read -r line; do
    eval "set -- $line"
    tool=$1
    shift
    eval "usage=\$usage_$tool"
    # A count taken for valid would run that many frames: stop it soon.
    got=$({ timeout 10 ${TORVEL_RUNNER:+"$TORVEL_RUNNER"} "$bin/torvel-$tool$exe" "$@" 2>&1 </dev/null
        echo "exit status $?"; } | tr -d '\r')
    if [ "$got" != "$(printf '%s\nexit status 2' "$usage")" ]; then
        printf 'not refused as it should be: %s\n%s\n' "$line" "$got" | head -n 4 >&2
        failed=1
    fi
done <<'EOF'
trace
trace 10x
trace -1
trace 99999999999999999999999
trace 10 20
trace 10 --every 0
trace 10 --every
trace 10 --every 2 --every 3
trace 10 --time-step 0.6s
trace 10 --time-step ' 1'
trace 10 --time-step inf
trace 10 --time-step nan
trace 10 --time-step 1 --time-step 1
trace 10 --digest 0
trace 10 --digest
trace 10 --digest 1 --digest 1
trace 10 --frames
soak
soak 10 20
soak 10 --every 2
soak 10 --time-step 1 --time-step 1
EOF
exit $failed
