#!/usr/bin/env bash
# Cross-compiles the program and the headless tools for 64-bit Windows and packs them:
#   bash scripts/build-windows.sh   ->   build/windows/torvel-room-<version>-win64.zip
# Installs the mingw-w64 compilers and Wine (which runs the cross-built programs here) from
# Debian, and builds SDL2 and GoogleTest for Windows once: build/windows-deps keeps them.
packages=windows . "$(dirname "$0")/lib/preamble.sh"
root=$PWD

deps=$root/build/windows-deps
toolchain=$root/cmake/mingw-w64-x86_64.cmake
mkdir -p "$deps"

# SDL2 as Debian ships it, built as a static library: the program needs no DLL beside it.
# Only the parts the program uses (video, events, audio, message boxes, timers).
sdl_version=2.26.5+dfsg-1
if [ "$(cat "$deps/sdl2/.built" 2>/dev/null)" != "$sdl_version" ]; then
    rm -rf "$deps/src/libsdl2" "$deps/sdl2-build" "$deps/sdl2"
    bash scripts/lib/debian-source.sh "libsdl2=$sdl_version" "$deps/src"
    echo "Building SDL2 $sdl_version for Windows" >&2
    cmake -S "$deps/src/libsdl2" -B "$deps/sdl2-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps/sdl2" -DSDL_SHARED=OFF -DSDL_STATIC=ON \
        -DSDL_TEST=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
        -DSDL_POWER=OFF -DSDL_RENDER=OFF >"$deps/sdl2-build.log" 2>&1 ||
        { tail -n 30 "$deps/sdl2-build.log" >&2 && exit 1; }
    cmake --build "$deps/sdl2-build" -j2 >>"$deps/sdl2-build.log" 2>&1 ||
        { tail -n 30 "$deps/sdl2-build.log" >&2 && exit 1; }
    cmake --install "$deps/sdl2-build" >/dev/null
    cp "$deps/src/libsdl2/LICENSE.txt" "$deps/sdl2/LICENSE.txt"
    rm -rf "$deps/sdl2-build" "$deps/src"
    echo "$sdl_version" >"$deps/sdl2/.built"
fi

# GoogleTest from Debian's sources of it, for the tests that run under Wine.
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
if [ "$(cat "$deps/googletest/.built" 2>/dev/null)" != "$gtest_version" ]; then
    rm -rf "$deps/googletest-build" "$deps/googletest"
    echo "Building GoogleTest $gtest_version for Windows" >&2
    { cmake -S /usr/src/googletest -B "$deps/googletest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps/googletest" -DBUILD_GMOCK=OFF &&
        cmake --build "$deps/googletest-build" -j2 && cmake --install "$deps/googletest-build"; } \
        >"$deps/googletest-build.log" 2>&1 || { tail -n 30 "$deps/googletest-build.log" >&2 && exit 1; }
    rm -rf "$deps/googletest-build"
    echo "$gtest_version" >"$deps/googletest/.built"
fi

cmake --preset windows >/dev/null
# The build runs the cross-built picture generator under Wine, whose server it then ends.
trap 'bash scripts/lib/wine-run.sh --stop' EXIT
cmake --build --preset windows -j2

# The package: the programs, the pictures and the sound as the build made them, the README and
# the licences of what the programs contain.
bin=$root/build/windows/bin
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
name=torvel-room-$version-win64
stage=$root/build/windows/package/$name
rm -rf "$root/build/windows/package" && mkdir -p "$stage/licences"
cp "$bin"/torvel-*.exe "$stage/"
cp -r "$bin/data" "$bin/Data" "$stage/"
cp README.md LICENSE "$stage/"
cp "$deps/sdl2/LICENSE.txt" "$stage/licences/SDL2.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licences/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licences/gcc-runtime.txt"
rm -f "build/windows/$name.zip"
(cd "$root/build/windows/package" && cmake -E tar cf "$root/build/windows/$name.zip" --format=zip "$name")
echo "build/windows/$name.zip: $(stat -c %s "build/windows/$name.zip") bytes"
