#!/usr/bin/env bash
# Writes the fuzzers' seed inputs: tests/fuzz/make-seeds.sh DIR fills DIR/text_forms and DIR/bitmap.
# The pictures are built byte by byte here so that every row of the loader's failure table has one.
set -euo pipefail
out=${1:?usage: make-seeds.sh DIR}
mkdir -p "$out/text_forms" "$out/bitmap"

text() { printf '%b' "$2" >"$out/text_forms/$1"; }
text vector-default '[1,2,3]'
text vector-unit '<3,4,0>'
text vector-invalid 'Invalid'
text vector-spaced ' [ 1 , 2 , 3 ] '
text vector-odd-brackets '(1;2;3)'
text vector-extremes '[1e308,-4.9406564584124654e-324,-0]<1e-9,0,0><1e200,1e200,1e200>'
text vector-not-numbers '[nan,inf,0x1p3]'
text invalid-without-d 'Ixxxxxxxxxxxxxxxxxxxxxxxxxxxxxx[1,2,3]'
text invalid-short 'In'
text ray-valid '(P=[0,0,0],V=<0,0,1>)'
text ray-default-direction '(P=[0,0,0],V=[0,0,1])'
text ray-invalid 'Invalid(P=<1,1,1>,V=<0,0,0>)'
text matrix-identity '(1,0,0)\n(0,1,0)\n(0,0,1)\n'
text matrix-digits '(0.333333,-1e-07,1.23457e+06)\n(1,2,3)\n(4,5,6)\n'
text chain 'Invalid[1,2,3]<0,0,1>(P=[1,2,3],V=<1,0,0>)(1,0,0)\n(0,1,0)\n(0,0,1)\n'
text truncated '(P=[1,2'

# 256 bytes 0..255, repeated as far as a picture needs.
ramp=$(mktemp)
trap 'rm -f "$ramp"' EXIT
for ((i = 0; i < 256; i++)); do printf "\\x$(printf %02x "$i")"; done >"$ramp"
pixels() { local n=$1; while ((n > 0)); do head -c "$((n < 256 ? n : 256))" "$ramp"; n=$((n - 256)); done; }

le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }

# bmp NAME WIDTH HEIGHT PLANES BITS PIXEL_BYTES [INFO_HEADER_SIZE] [PIXEL_OFFSET]
bmp() {
    local name=$1 w=$2 h=$3 planes=$4 bits=$5 bytes=$6 info=${7:-40} offset=${8:-54}
    {
        printf 'BM'
        le32 $((54 + bytes))
        le32 0
        le32 "$offset"
        le32 "$info"
        le32 "$w"
        le32 "$h"
        le16 "$planes"
        le16 "$bits"
        le32 0
        le32 "$bytes"
        le32 2835
        le32 2835
        le32 0
        le32 0
        pixels "$bytes"
    } >"$out/bitmap/$name.bmp"
}

bmp valid-1x1 1 1 1 24 3
bmp valid-2x2-unpadded 2 2 1 24 12
bmp valid-4x4 4 4 1 24 48
bmp valid-16x8 16 8 1 24 384
bmp valid-64x64 64 64 1 24 12288
bmp valid-extra-bytes 4 2 1 24 40
bmp planes-2 4 4 2 24 48
bmp planes-0 4 4 0 24 48
bmp bits-32 4 4 1 32 64
bmp bits-8 4 4 1 8 16
bmp pixels-short 8 8 1 24 100
bmp width-0 0 8 1 24 0
bmp height-0 8 0 1 24 0
bmp beyond-32-bits 65536 65536 1 24 16
bmp beyond-texture-size 20000 100 1 24 16
bmp top-down 4 4294967292 1 24 48
bmp huge-info-header 4 4 1 24 48 4294967280 2147483647
head -c 20 "$out/bitmap/valid-4x4.bmp" >"$out/bitmap/header-cut-at-20.bmp"
head -c 28 "$out/bitmap/valid-4x4.bmp" >"$out/bitmap/header-cut-at-28.bmp"
head -c 54 "$out/bitmap/valid-4x4.bmp" >"$out/bitmap/header-only.bmp"
: >"$out/bitmap/empty.bmp"
