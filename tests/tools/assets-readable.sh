#!/usr/bin/env bash
# assets-readable.sh BIN: the generated pictures are BMP files as any other reader sees them: their
# pixels, bottom-up in blue-green-red order, are the bytes from offset 54 on, where our loader
# takes them (the window icon beside them is 32-bit, with alpha). The sound is a WAV file of
# 22050 Hz, 16-bit mono samples.
set -euo pipefail
cd "$1"
for picture in data/marble.bmp data/spark.bmp data/boden.bmp data/wand.bmp; do
    cmp <(convert "$picture" -flip -depth 8 bgr:-) <(tail -c +55 "$picture") || exit 1
done
[ "$(soxi -r "Data/Explode.wav") $(soxi -b "Data/Explode.wav") $(soxi -c "Data/Explode.wav")" = "22050 16 1" ]
