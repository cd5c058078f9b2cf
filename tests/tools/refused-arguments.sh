#!/bin/sh
# refused-arguments.sh BIN: every argument list of refused-arguments.rows must be refused by its tool in BIN with
# exit status 2 and nothing but the tool's usage line, or with the status and output a row names
# (--help: the usage on the standard output alone).
# TORVEL_RUNNER, when set, runs the tools (Wine for the Windows build, whose lines end in CR LF and
# which has no torvel-shot: its rows are left out there).
set -u
bin=$(cd "$1" && pwd)
rows=$(cd "$(dirname "$0")" && pwd)/refused-arguments.rows
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
while read -r line; do
    case $line in '' | '#'*) continue ;; esac
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
done <"$rows"
exit $failed
