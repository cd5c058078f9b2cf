#!/usr/bin/env bash
# Renders the README's pictures with torvel-shot from the release build: the looping clip
# docs/images/clip.webp (frames 241 to 840 of the key schedule scripts/lib/clip.keys, every third
# frame at 400 x 300, 20 a second: the 10 s the program shows at 60) and the still pictures
# frame300.png and follow400.png. Prints a digest of the clip's frames: the same build makes the
# same frames.
#   bash scripts/make-clip.sh [OUT_DIR]     (default docs/images)
. "$(dirname "$0")/lib/preamble.sh"
root=$PWD
out=$(mkdir -p "${1:-docs/images}" && cd "${1:-docs/images}" && pwd)
build release torvel-shot assets
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

first=241 last=840 every=3 size=400x300
cd build/release/bin
export SDL_VIDEODRIVER=offscreen
./torvel-shot "$last" "$scratch/f.png" --every "$every" --size "$size" --keys "$root/scripts/lib/clip.keys" >/dev/null
./torvel-shot 300 "$out/frame300.png" >/dev/null
./torvel-shot 400 "$out/follow400.png" --camera-mode 1 >/dev/null
cd "$scratch"
frames=()
for f in f-*.png; do
    n=${f#f-}
    n=$((10#${n%.png}))
    if ((n >= first)); then frames+=("$f"); else rm "$f"; fi
done
echo "clip frames $first-$last, every $every, at $size: ${#frames[@]} pictures," \
    "digest $(cat "${frames[@]}" | sha256sum | cut -c1-16)"
# Lossy WebP: about 2.3 MB, where a GIF of half the frames is 11 MB. At quality 50 the bricks,
# balls and glow look as in the frames. Each frame is shown for 50 ms, looping for ever.
img2webp -loop 0 -lossy -q 50 -m 4 -d 50 "${frames[@]}" -o "$out/clip.webp" >/dev/null 2>&1
echo "wrote $out/clip.webp: $(stat -c %s "$out/clip.webp") bytes, $out/frame300.png, $out/follow400.png"
