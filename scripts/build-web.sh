#!/usr/bin/env bash
# Builds the page: build/web/ holds index.html, torvel-room.js, .wasm and .data (the pictures and
# the sound), the icon (icon.png, icon-32.png) and NOTICES.txt; build/torvel-room-VERSION-web.zip
# is that folder. Any static web server serves it. SDL2 and GLU come from Debian's source
# packages, fetched once into build/web-deps/ and compiled with the page (a second run rebuilds
# nothing of them).
packages=web . "$(dirname "$0")/lib/preamble.sh"
# emcc's JavaScript tools need Debian's node modules, whichever node is first on the path.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

# The page driver's library (tests/app/page.mjs), at the version it is written for, into build/
# (puppeteer-core fetches no browser: the driver starts Debian's).
driver=build/page-driver puppeteer=24.43.1
if [ "$(node -p "require('./$driver/node_modules/puppeteer-core/package.json').version" 2>/dev/null)" != $puppeteer ]; then
    npm install --prefix "$driver" --no-save --no-audit --no-fund --ignore-scripts "puppeteer-core@$puppeteer" >&2
fi

deps=build/web-deps
bash scripts/lib/debian-source.sh libsdl2=2.26.5+dfsg-1 "$deps/src"
bash scripts/lib/debian-source.sh libglu=9.0.2-1.1 "$deps/src"

# The pictures and the sound, as the desktop build generates them.
build release assets torvel-shot torvel-trace
cmake --preset web >/dev/null
cmake --build --preset web -j2

out=build/web
rm -rf "$out"
mkdir -p "$out"
cp app/WebPlatform.html "$out/index.html"
# The generated icon, as the page's icon (32 x 32 for a tab, 128 x 128 for the heading and a home screen).
cp build/release/icons/32x32/apps/torvel-room.png "$out/icon-32.png"
cp build/release/icons/128x128/apps/torvel-room.png "$out/icon.png"
cp build/web-build/bin/torvel-room.js build/web-build/bin/torvel-room.wasm build/web-build/bin/torvel-room.data "$out/"
# The notices of what the .wasm links in: SDL2, GLU (SGI Free B), the C and C++ libraries.
em=/usr/share/emscripten
{
    notice() { printf '==== %s ====\n\n' "$1" && cat "$2" && printf '\n'; }
    notice "SDL2 2.26.5" "$deps/src/libsdl2/LICENSE.txt"
    notice "GLU (SGI Free Software License B, from its source)" <(sed -n '/^\/\*/,/\*\//p' "$deps/src/libglu/src/libutil/quad.c" | head -n 40)
    notice "musl C library" "$em/system/lib/libc/musl/COPYRIGHT"
    notice "emscripten's runtime and its C++ libraries (libc++, libc++abi), as Debian lists them" \
        /usr/share/doc/emscripten/copyright
} >"$out/NOTICES.txt"

version=$(sed -n 's/^project(TorvelRoom VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=build/torvel-room-$version-web.zip
rm -f "$zip"
(cd "$out" && python3 -m zipfile -c "../${zip#build/}" ./*)
echo "The page: $out/index.html ($zip)" >&2
