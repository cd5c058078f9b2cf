#!/usr/bin/env bash
# Broken pictures, each of the four files in turn: picture.sh BIN_DIR CASE.
# A picture that cannot be loaded prints the header lines of the pictures before it (and its
# own, when it has a header), one failure line, and ends the program with status 1 before a
# frame is drawn; the later pictures are not opened. A huge info-header size is ignored.
source "$(dirname "$0")/lib.sh" "$1"
FAULT_CASE=${2:?usage: picture.sh BIN_DIR CASE}
pictures=(data/marble.bmp data/spark.bmp data/boden.bmp data/wand.bmp)
start_xvfb 640x480x24

for ((k = 0; k < 4; k++)); do
    name=${pictures[k]}
    fresh_rundir
    file=$RUN/$name
    expected=$(header_lines "${pictures[@]:0:k}")
    [ -z "$expected" ] || expected+=$'\n'
    size_prefix=
    status=1
    case $FAULT_CASE in
        missing)
            rm "$file"
            expected+="File Not Found : $name"
            ;;
        empty)
            : >"$file"
            # Every header read meets the end of the file and gives all ones.
            expected+="Width of $name: 4294967295
Height of $name: 4294967295
Planes from $name is not 1: 65535"
            ;;
        truncated)
            width=$(le32 "$file" 18) height=$(le32 "$file" 22)
            truncate -s $((54 + width * height * 3 / 2)) "$file"
            expected+="$(header_lines "$name")
Error reading image data from $name."
            ;;
        header-cut)
            truncate -s 26 "$file"
            expected+="$(header_lines "$name")
Planes from $name is not 1: 65535"
            ;;
        bits32)
            convert "$file" -alpha set -define bmp:format=bmp4 "BMP:$WORK/32.bmp"
            [ "$(od -An -tu2 -j 28 -N 2 --endian=little "$WORK/32.bmp" | tr -d ' ')" = 32 ] ||
                fail "convert did not write a 32-bit picture"
            mv "$WORK/32.bmp" "$file"
            expected+="$(header_lines "$name")
Bpp from $name is not 24: 32"
            ;;
        beyond-32-bits)
            # 65536 x 65536 x 3 bytes do not fit in 32 bits: refused before anything is allocated.
            poke32 "$file" 18 65536
            poke32 "$file" 22 65536
            expected+="$(header_lines "$name")"
            size_prefix="Size of $name is too large"
            ;;
        beyond-texture-size)
            # Fits in 32 bits, but no texture of the renderer can be that wide.
            poke32 "$file" 18 40000
            poke32 "$file" 22 4
            expected+="$(header_lines "$name")"
            size_prefix="Size of $name is too large"
            ;;
        huge-header-size)
            # The pixel offset and the info-header size are not consulted: the picture loads.
            poke32 "$file" 10 2147483647
            poke32 "$file" 14 4294967280
            status=0
            ;;
        *) fail "unknown case $FAULT_CASE" ;;
    esac

    start_app
    answer "Start FullScreen?" Escape
    if [ "$status" -eq 0 ]; then
        focus "Torvel Square Room"
        sleep 0.5
        scene_drawn "Torvel Square Room"
        quit_by_escape
    else
        wait_exit 20
    fi
    no_crash
    [ "$APP_STATUS" -eq "$status" ] || fail "$name $FAULT_CASE: exit status $APP_STATUS, not $status"
    if [ "$status" -eq 0 ]; then
        [ "$(cat "$WORK/stdout")" = "$(header_lines "${pictures[@]}")" ] ||
            fail "$name $FAULT_CASE: unexpected output"
    elif [ -n "$size_prefix" ]; then
        out=$(cat "$WORK/stdout")
        [ "$(head -n -1 <<<"$out")" = "$expected" ] || fail "$name $FAULT_CASE: unexpected header lines"
        [[ $(tail -n 1 <<<"$out") == "$size_prefix"* ]] || fail "$name $FAULT_CASE: no size line"
    else
        [ "$(cat "$WORK/stdout")" = "$expected" ] ||
            fail "$name $FAULT_CASE: unexpected output, wanted:
$expected"
    fi
done
echo "picture $FAULT_CASE: ok"
