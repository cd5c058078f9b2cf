#!/usr/bin/env bash
# Repeats the measurements behind docs/performance.md: scripts/measure.sh [BUILD_DIR]
# (default: the release preset, built first). Prints every figure with the load average (one
# minute) before and after it: the timings mean something only on a quiet machine, and the load
# says how quiet it was. Takes about eight minutes on two cores, and two more for the page when
# scripts/build-web.sh has built it.
. "$(dirname "$0")/lib/preamble.sh"
if [ $# -ge 1 ]; then
    build=$1
    cmake --build "$build" >/dev/null
else
    build=build/release
    build release >/dev/null
fi
bin=$(cd "$build/bin" && pwd)
# A build without link-time optimisation, for where the time goes (see callgrind below): built
# before the first figure, so that no compiler runs while one is taken.
nolto=$build-nolto
cmake -S . -B "$nolto" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INTERPROCEDURAL_OPTIMIZATION_RELEASE=OFF \
    -DTORVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$nolto" --target torvel-soak >/dev/null
scratch=$(mktemp -d "${TMPDIR:-/tmp}/torvel-measure.XXXXXX")
xvfb_pid=
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

section() { printf '\n## %s\n' "$1"; }
load() { cut -d' ' -f1 /proc/loadavg; }
# figure COMMAND...: runs one measurement, then prints the load average before and after it.
figure() {
    local before
    before=$(load)
    "$@"
    echo "  (load average $before before, $(load) after)"
}
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

section "machine"
echo "nproc $(nproc)"
grep -m1 'model name' /proc/cpuinfo | sed 's/^model name[[:space:]]*: /cpu /'
grep -m1 'cpu MHz' /proc/cpuinfo | sed 's/^cpu MHz[[:space:]]*: /clock MHz /'
lscpu | sed -n 's/^Hypervisor vendor:[[:space:]]*/virtualised on /p'
awk '/^MemTotal:/ {printf "memory %.1f GiB\n", $2 / 1048576}' /proc/meminfo
echo "compiler $(c++ --version | head -n 1)"
echo "load average at start $(cut -d" " -f1-3 /proc/loadavg)"

section "stepWorld per frame (torvel-soak: first 10 000 frames and the whole run)"
for step in 0.6 2.0; do
    figure "$bin/torvel-soak" 1000000 --time-step "$step"
done

section "findBallCollision and the hit tests (torvel-bench)"
bench() {
    "$bin/torvel-bench" --benchmark_filter='FindBallCollision|HitPlane|HitCylinder|StepWorldFirstFrames' \
        --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null |
        grep -E '_(median|stddev) |^Benchmark|^-'
}
if [ -x "$bin/torvel-bench" ]; then
    figure bench
else
    echo "(no torvel-bench in $build: configure with TORVEL_BUILD_BENCH=ON)"
fi

section "torvel-trace frames per second"
trace_rate() {
    local every=$1 times=() start end
    for _ in 1 2 3; do
        start=$(date +%s.%N)
        "$bin/torvel-trace" 1000000 --every "$every" --time-step 0.6 >/dev/null
        end=$(date +%s.%N)
        times+=("$(awk -v s="$start" -v e="$end" 'BEGIN {print 1000000 / (e - s)}')")
    done
    printf 'every %s: %.0f frames per second (median of 3)\n' "$every" "$(printf '%s\n' "${times[@]}" | median)"
}
for every in 1000000 1; do
    figure trace_rate "$every"
done

section "instructions per frame in stepWorld (callgrind, 2000 frames at 0.6)"
# The build as it is (vector operations inlined), then one without link-time optimisation,
# where the hit tests and the search stay functions of their own, for where the time goes.
# Counts, not times: the load does not change them (printed all the same, as for every figure).
instructions() {
    local soak=$1
    echo "$soak:"
    rm -f "$scratch/soak.cg"
    valgrind --tool=callgrind --callgrind-out-file="$scratch/soak.cg" --toggle-collect='stepWorld(World&)' \
        "$soak" 2000 --time-step 0.6 >/dev/null 2>&1
    callgrind_annotate --inclusive=yes "$scratch/soak.cg" 2>/dev/null |
        awk '/PROGRAM TOTALS/ {n = $1; gsub(",", "", n); printf "  stepWorld: %.0f instructions per frame\n", n / 2000}
             /\?\?\?:/ {n = $1; gsub(",", "", n); f = $0; sub(/.*\?\?\?:/, "", f); sub(/ \[.*/, "", f)
                 if (f !~ /^(main|\(below main\)|0x|runSoak|stepWorld|\(anonymous namespace\)::soak\()/) printf "    %-72s %6.0f per frame\n", f, n / 2000}' |
        head -n 12
}
for soak in "$bin/torvel-soak" "$nolto/bin/torvel-soak"; do
    figure instructions "$soak"
done

section "the program and torvel-shot under a private X server (llvmpipe)"
: >"$scratch/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/displayfd" 2>/dev/null &
xvfb_pid=$!
for i in $(seq 100); do [ -s "$scratch/displayfd" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$scratch/displayfd")"
if command -v glxinfo >/dev/null; then
    glxinfo -B | grep -E 'OpenGL (renderer|version) string'
fi

# Frames of step, drawing and swap (presented to the X server), timed by torvel-shot itself. llvmpipe
# draws with one thread per core, so any other load on the machine takes its share from these.
shot_rate() {
    local frames=$1 size=$2 runs=$3 fps=() line
    for ((run = 0; run < runs; ++run)); do
        line=$(cd "$bin" && ./torvel-shot "$frames" "$scratch/shot.png" --bench --size "$size")
        fps+=("$(sed -n 's/.*: \([0-9.]*\) frames per second/\1/p' <<<"$line")")
    done
    printf 'torvel-shot --bench, %s frames at %s: %s frames per second (median of %s: %s)\n' \
        "$frames" "$size" "${fps[*]}" "$runs" "$(printf '%s\n' "${fps[@]}" | median)"
}
figure shot_rate 3000 640x480 3
for size in 320x240 160x120; do
    figure shot_rate 1000 "$size" 1
done

# Start-up: from exec to the start-up question on screen, and from the answer to the first
# frame presented (the program's own timing line). Resident memory after two seconds of frames.
mkdir -p "$scratch/run"
cp -r "$bin/torvel-room" "$bin/data" "$bin/Data" "$scratch/run/"
startup_load=$(load)
question_ms=()
answer_ms=()
rss=()
hwm=()
for run in 1 2 3 4 5; do
    start=$(date +%s%N)
    (cd "$scratch/run" && exec env SDL_AUDIODRIVER=dummy TORVEL_TIMING=1 ./torvel-room >/dev/null 2>"$scratch/stderr") &
    pid=$!
    box=
    for i in $(seq 1000); do
        box=$(xwininfo -root -tree 2>/dev/null | grep -F '"Start FullScreen?":' | awk '{print $1; exit}' || true)
        [ -n "$box" ] && break
        sleep 0.005
    done
    shown=$(date +%s%N)
    question_ms+=("$(((shown - start) / 1000000))")
    xdotool windowfocus --sync "$box" key Escape
    for i in $(seq 500); do grep -q '^First frame presented' "$scratch/stderr" && break; sleep 0.01; done
    answer_ms+=("$(sed -n 's/.*, \([0-9.]*\) ms after the last answer/\1/p' "$scratch/stderr")")
    sleep 2
    rss+=("$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")")
    hwm+=("$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")")
    kill -TERM "$pid"
    wait "$pid" || true
done
printf 'exec to the start-up question: %s ms (median %s)\n' "${question_ms[*]}" "$(printf '%s\n' "${question_ms[@]}" | median)"
printf 'answer to the first frame: %s ms (median %s)\n' "${answer_ms[*]}" "$(printf '%s\n' "${answer_ms[@]}" | median)"
printf 'resident memory after 2 s: %s KiB (median %s), peak %s KiB\n' "${rss[*]}" \
    "$(printf '%s\n' "${rss[@]}" | median)" "$(printf '%s\n' "${hwm[@]}" | sort -n | tail -n 1)"
echo "  (load average $startup_load before, $(load) after)"

section "page"
# The page as scripts/build-web.sh last built it, in headless Chromium on the CPU: its files, raw
# and gzipped, the time to the question and from the answer to the first frame, and its frame rate
# against torvel-shot's above.
if [ -f build/web/index.html ]; then
    for f in build/web/*; do
        printf '%s: %s bytes, %s gzipped\n' "${f##*/}" "$(stat -c %s "$f")" "$(gzip -9c "$f" | wc -c)"
    done
    page_figures() { node bench/page-figures.mjs build/web figures | grep -v ': passed$'; }
    figure page_figures
    # The frame rate again at the largest drawing size the page allows.
    largest_figures() { node bench/page-figures.mjs build/web figures-largest | grep -v ': passed$'; }
    figure largest_figures
else
    echo "not built: bash scripts/build-web.sh builds it"
fi
echo
echo "load average at the end $(cut -d" " -f1-3 /proc/loadavg)"
