#!/bin/sh
# refused-arguments.sh BIN: every argument list below must be refused by its tool in BIN with
# exit status 2 and nothing but the tool's usage line, or with the status and output a row names
# (--help: the usage on the standard output alone).
# TORVEL_RUNNER, when set, runs the tools (Wine for the Windows build, whose lines end in CR LF and
# which has no torvel-shot: its rows are left out there).
set -u
bin=$(cd "$1" && pwd)
usage_trace='usage: torvel-trace FRAMES [--every K] [--time-step X] [--digest N] [--keys FILE] | torvel-trace --keys FILE'
usage_soak='usage: torvel-soak FRAMES [--time-step X]'
usage_assets='usage: torvel-assets OUTDIR [ICONDIR]'
usage_shot='usage: torvel-shot FRAMES OUT.png [--camera-mode 0|1] [--time-step X] [--size WxH] [--every K] [--keys FILE] [--bench]'
# Small recordings are written into a private directory as the rows need them.
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
# torvel-shot reads its pictures from data/ where it runs.
ln -s "$bin/data" data
# keys TEXT: the file k holding TEXT (printf escapes), after the header line unless TEXT starts with "!".
keys() {
    case $1 in
    !*) printf "${1#!}" >k ;;
    *) printf "torvel-room-recording 1\n$1" >k ;;
    esac
    echo k
}
failed=0
exe=
[ ! -f "$bin/torvel-trace.exe" ] || exe=.exe
# tool NAME ARGS...: the tool run as this build's, stopped after 10 s (a count taken for valid would
# run that many frames), standard output and error together (for --help the output alone), their
# lines without CRs.
tool() {
    name=$1
    shift
    errors=/dev/stdout
    case " $* " in *" --help "*) errors=/dev/null ;; esac
    { timeout 10 ${TORVEL_RUNNER:+"$TORVEL_RUNNER"} "$bin/torvel-$name$exe" "$@" 2>$errors </dev/null
        echo "exit status $?"; } | tr -d '\r'
}
# One case per line: [STATUS] TOOL ARGUMENTS (quoted as in a shell) [=> OUTPUT (printf escapes)];
# without STATUS 2, without OUTPUT the tool's usage line; OUTPUT ending in " +usage" has it after,
# " +pictures": the PNG files the row wrote, in place of what it printed.
# A command may fall on the last frame, and shows in that frame's state.
while read -r line; do
    want_status=2
    case $line in [0-9]\ *) want_status=${line%% *} line=${line#* } ;; esac
    want=
    case $line in *' => '*) want=${line#* => } line=${line%% => *} ;; esac
    eval "set -- $line"
    tool=$1
    shift
    [ "$tool$exe" != shot.exe ] || continue
    eval "usage=\$usage_$tool"
    case $want in '') want=$usage ;; *' +usage') want="${want% +usage}\n$usage" ;; esac
    pictures= leaks=
    # A row that draws loads the GL driver, whose leaks the sanitizer would report at exit.
    case $want in *' +pictures') pictures=1 want=${want% +pictures} leaks=detect_leaks=0 ;; esac
    got=$(SDL_VIDEODRIVER=offscreen ASAN_OPTIONS="${ASAN_OPTIONS:-}${leaks:+:$leaks}" tool "$tool" "$@")
    [ -z "$pictures" ] || got="$(ls -- *.png 2>&1; rm -f -- *.png)
${got##*
}"
    if [ "$got" != "$(printf "$want\nexit status %s" "$want_status")" ]; then
        printf 'not refused as it should be: %s\n%s\n' "$line" "$got" | head -n 6 >&2
        failed=1
    fi
done <<'EOF_ROWS'
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
trace 10 --digest 1 --digest 1
trace 10 --frames
trace --keys a --keys b
trace --keys "$(keys '')" --every 2
trace --keys "$(keys '')" --time-step 1
trace --keys "$(keys '')" --digest 1
trace --keys missing => torvel-trace: missing: No such file or directory
trace --keys "$(keys '!')" => torvel-trace: k:1: no header: the first line must be "torvel-room-recording 1"
trace --keys "$(keys '!torvel-room-recording\n')" => torvel-trace: k:1: no header: the first line must be "torvel-room-recording 1"
trace --keys "$(keys '!# note\ntorvel-room-recording 1\n')" => torvel-trace: k:1: no header: the first line must be "torvel-room-recording 1"
trace --keys "$(keys '!torvel-room-recording 2\n')" => torvel-trace: k:1: unknown version "2" (this build reads 1)
trace --keys "$(keys '5 F2\n6 F4\n')" => torvel-trace: k:3: unknown command "F4"
trace --keys "$(keys '5 f2\n')" => torvel-trace: k:2: unknown command "f2"
trace --keys "$(keys '5 F2 F2\n')" => torvel-trace: k:2: command F2 twice in one pass
trace --keys "$(keys '5\n')" => torvel-trace: k:2: no command after the frame number
trace --keys "$(keys '-5 F2\n')" => torvel-trace: k:2: not a frame number: "-5"
trace --keys "$(keys '5 F2\n\n# comment\n4 F3\n')" => torvel-trace: k:5: frames out of order: 4 after 5
trace 20 --keys "$(keys '5 F2\n21 KP+\n')" => torvel-trace: k:3: a command at frame 21, beyond the 20 frames to run
trace --keys "$(keys '5 F2\nend 4 0123456789abcdef\n')" => torvel-trace: k:3: bad end line: "end FRAMES DIGEST" with FRAMES not below the last pass's frame and 16 lower-case hex digits
trace --keys "$(keys 'end 5 0123456789ABCDEF\n')" => torvel-trace: k:2: bad end line: "end FRAMES DIGEST" with FRAMES not below the last pass's frame and 16 lower-case hex digits
trace --keys "$(keys 'end 5 0123456789abcdef\n6 F2\n')" => torvel-trace: k:3: a line after the end line
trace 10 --keys "$(keys '99999999 F2\n')" => torvel-trace: k:2: a command at frame 99999999, beyond the 10 frames to run
trace --keys "$(keys '100000000 F2\n')" => torvel-trace: k:2: frame 100000000 is above 99999999, the most a replay takes
trace --keys "$(keys '1000000000000000 F2\n')" => torvel-trace: k:2: not a frame number: "1000000000000000"
0 trace 1 --digest 1 --keys "$(keys 'end 99999999 0123456789abcdef\n')" => frames 1-1 8d9453d0bec832dd
trace --keys "$(keys '5 F2\nend 100000000 0123456789abcdef\n')" => torvel-trace: k:3: end frame 100000000 is above 99999999, the most a replay takes
trace --keys "$(keys 'end 1000000000000000 0123456789abcdef\n')" => torvel-trace: k:2: bad end line: "end FRAMES DIGEST" with FRAMES not below the last pass's frame and 16 lower-case hex digits
trace --keys "$(truncate -s 268435457 big && echo big)" => torvel-trace: big: 268435457 bytes, larger than 256 MiB, the most a replay takes
0 trace 1 --digest 1 --keys "$(keys '1 F2\n')" => frames 1-1 a3b6cebbefdd65ab
0 trace --keys "$(keys '0 KP+ Left\n')" => 0 frames replayed to the last command: digest 7646f00daf7f3c76, no end line to check it against
0 trace --keys "$(keys '0 Left KP+\r\n0 Up\n0 Down')" => torvel-trace: k:4: no newline at its end: line ignored\n0 frames replayed to the last command: digest d4dceb218651f533, no end line to check it against
0 trace --keys "$(keys '0 KP+ Left\nend 0 7646f00daf7f3c76\n')" => 0 frames replayed: digest recorded 7646f00daf7f3c76, replayed 7646f00daf7f3c76: the same
1 trace --keys "$(keys '0 KP+ Left\nend 0 7646f00daf7f3c75\n')" => 0 frames replayed: digest recorded 7646f00daf7f3c75, replayed 7646f00daf7f3c76: DIFFERENT
shot 10 o.png --every 0 => torvel-shot: --every takes a whole number of at least 1, not "0" +usage
0 shot 5 o.png --every 2 --size 8x8 => o-000002.png\no-000004.png\no-000005.png +pictures
0 soak 10 --help
shot 10 o.png --keys a --keys b => torvel-shot: unknown or incomplete option "--keys" +usage
shot 10 o.png --keys "$(keys '11 F2\n')" => torvel-shot: k:2: a command at frame 11, beyond the 10 frames to run
shot 10 o.png --keys "$(keys 'F2\n')" => torvel-shot: k:2: not a frame number: "F2"
soak
soak 10 20
soak 10 --every 2
soak 10 --time-step 1 --time-step 1
assets
assets --bogus => torvel-assets: unknown or incomplete option "--bogus" +usage
assets a b c => torvel-assets: unknown or incomplete option "c" +usage
0 assets --help
EOF_ROWS
exit $failed
