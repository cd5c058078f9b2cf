#!/usr/bin/env bash
# Builds the fuzz targets with clang 14 and runs each for SECONDS (default 60) on its seeds
# (tests/fuzz/seeds), its growing corpus and the kept regressions: scripts/fuzz.sh [SECONDS].
# Fails on any finding; the input that caused it is left in build/fuzz/findings/<target>/ and
# belongs in tests/fuzz/regressions/<kind>/ once the fault is fixed.
seconds=${1:-60}
[[ $seconds =~ ^[0-9]+$ && $seconds -gt 0 ]] || { echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2; }
. "$(dirname "$0")/lib/preamble.sh"
cmake --preset fuzz >/dev/null
# The whole project, so that clang's warnings (errors here) are seen too, not only the fuzz targets'.
cmake --build --preset fuzz --parallel 2

build=build/fuzz

status=0
run() {
    local target=$1 kind=$2 max_len=$3
    shift 3
    local corpus=$build/corpus/$kind findings=$build/findings/$kind log=$build/fuzz-$kind.log
    mkdir -p "$corpus" "$findings"
    echo "== $target: ${seconds}s"
    if ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -max_len="$max_len" \
        -use_value_profile=1 -print_final_stats=1 -artifact_prefix="$findings/" "$@" \
        "$corpus" "tests/fuzz/seeds/$kind" "tests/fuzz/regressions/$kind" >"$log" 2>&1; then
        grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done ' "$log" || true
    else
        status=1
        echo "FINDING in $target (full log: $log):" >&2
        grep -E -A12 '^==[0-9]+==ERROR|SUMMARY|Test unit written' "$log" | head -60 >&2
    fi
}
run torvel-fuzz-text-forms text_forms 4096 -dict=tests/fuzz/text_forms.dict
# No input of at most 16 KiB may make the loader reserve 64 MiB: a short file that claims a
# large picture is refused before its pixel block is allocated.
run torvel-fuzz-bitmap bitmap 16384 -malloc_limit_mb=64
run torvel-fuzz-recording recording 4096 -dict=tests/fuzz/recording.dict
exit $status
