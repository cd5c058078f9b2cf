# SDL2 for the page, compiled from its source (TORVEL_WEB_DEPS/src/libsdl2) as part of the page
# build. SDL carries a fixed configuration for this platform (SDL_config_emscripten.h), so its
# own configure step, which links a test program for each of its ~160 checks, is not needed.
set(sdl ${TORVEL_WEB_DEPS}/src/libsdl2)
if(NOT EXISTS ${sdl}/include/SDL_config_emscripten.h)
  message(FATAL_ERROR "No SDL2 source in ${sdl}: bash scripts/build-web.sh fetches it")
endif()
set(sdl_dirs
  . atomic audio audio/disk audio/dummy audio/emscripten cpuinfo dynapi events file
  filesystem/emscripten haptic haptic/dummy joystick joystick/emscripten joystick/virtual libm
  loadso/dlopen locale locale/emscripten misc misc/emscripten power power/emscripten render
  render/opengles2 render/software sensor sensor/dummy stdlib thread thread/generic timer
  timer/unix video video/emscripten video/yuv2rgb)
set(sdl_sources)
foreach(dir ${sdl_dirs})
  file(GLOB found ${sdl}/src/${dir}/*.c)
  list(APPEND sdl_sources ${found})
endforeach()
add_library(sdl2_web STATIC ${sdl_sources})
target_include_directories(sdl2_web PRIVATE ${sdl}/include ${sdl}/src)
target_compile_options(sdl2_web PRIVATE -sUSE_SDL=0 -idirafter ${sdl}/src/video/khronos -w)

# The program includes <SDL2/SDL.h>, as the desktop's installed headers are laid out.
set(sdl_headers ${CMAKE_BINARY_DIR}/sdl2-include)
file(MAKE_DIRECTORY ${sdl_headers})
file(CREATE_LINK ${sdl}/include ${sdl_headers}/SDL2 SYMBOLIC)
target_include_directories(sdl2_web SYSTEM INTERFACE ${sdl_headers})
add_library(SDL2::SDL2 ALIAS sdl2_web)
