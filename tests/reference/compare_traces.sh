#!/bin/sh
# Compares two physics trace programs byte for byte, or checks that one of them
# refuses bad arguments properly.
#
#   compare_traces.sh REFERENCE TRACE ARGS...   both must print the same trace for ARGS
#   compare_traces.sh --check-arguments PROGRAM bad arguments give exit 2, one line on
#                                               stderr and nothing on stdout
set -u

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

check_arguments() {
    program=$1
    count=0
    # One case per line; the words of a line are the arguments (the first line: none).
    while IFS= read -r line; do
        count=$((count + 1))
        # shellcheck disable=SC2086
        set -f
        "$program" $line >"$work/out" 2>"$work/err"
        status=$?
        set +f
        [ "$status" -eq 2 ] || fail "'$line': exit status $status, expected 2"
        [ -s "$work/out" ] && fail "'$line': wrote to stdout"
        lines=$(wc -l <"$work/err")
        [ "$lines" -eq 1 ] || fail "'$line': $lines lines on stderr, expected one usage line"
    done <<EOF

abc
-5
1.5
10x
10 20
10 --every
10 --every 0
10 --every -3
10 --every x
10 --every 2.5
10 --time-step
10 --time-step abc
10 --time-step 0.6x
10 --bogus
--every 2
EOF

    "$program" 2 --every 1 --time-step -0.1 >"$work/out" 2>"$work/err" || fail "good arguments refused"
    [ "$(grep -c '^frame ' "$work/out")" -eq 2 ] || fail "good arguments: expected two frame lines"
    [ "$(grep -c '^ball ' "$work/out")" -eq 20 ] || fail "good arguments: expected twenty ball lines"
    echo "$count bad argument lists refused by $program"
}

compare() {
    reference=$1
    trace=$2
    shift 2
    "$reference" "$@" >"$work/reference" &
    reference_pid=$!
    "$trace" "$@" >"$work/trace"
    trace_status=$?
    wait "$reference_pid"
    reference_status=$?
    [ "$reference_status" -eq 0 ] || fail "reference exited with $reference_status"
    [ "$trace_status" -eq 0 ] || fail "trace exited with $trace_status"
    [ -s "$work/reference" ] || fail "reference printed nothing"

    if cmp -s "$work/reference" "$work/trace"; then
        echo "identical: $(grep -c '^frame ' "$work/reference") frames printed for $*"
        return 0
    fi

    line=$(cmp "$work/reference" "$work/trace" 2>&1 | sed -n 's/.* line \([0-9][0-9]*\).*/\1/p')
    if cmp "$work/reference" "$work/trace" 2>&1 | grep -q EOF; then
        # One output is a prefix of the other: the first missing line differs.
        line=$((line + 1))
    fi
    [ -n "$line" ] || line=1
    ref_line=$(sed -n "${line}p" "$work/reference")
    trace_line=$(sed -n "${line}p" "$work/trace")
    frame=$(head -n "$line" "$work/reference" | grep '^frame ' | tail -n 1 | cut -d' ' -f2)
    echo "traces differ for arguments: $*" >&2
    echo "first difference at line $line, in frame ${frame:-?}:" >&2
    echo "  reference: ${ref_line:-<end of output>}" >&2
    echo "  trace:     ${trace_line:-<end of output>}" >&2
    exit 1
}

case ${1:-} in
    --check-arguments)
        [ $# -eq 2 ] || fail "usage: compare_traces.sh --check-arguments PROGRAM"
        check_arguments "$2"
        ;;
    *)
        [ $# -ge 3 ] || fail "usage: compare_traces.sh REFERENCE TRACE ARGS..."
        compare "$@"
        ;;
esac
