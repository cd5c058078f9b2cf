# How the program becomes a page: torvel-room.js and .wasm, and torvel-room.data holding the
# pictures and the sound that the desktop build's torvel-assets generated (TORVEL_WEB_ASSETS).
target_link_libraries(torvel-room PRIVATE SDL2::SDL2)
target_compile_options(app PRIVATE -sUSE_SDL=0)
target_compile_options(torvel-room PRIVATE -sUSE_SDL=0)

# The calls that wait for the page: the program is suspended inside them (asyncify), and the
# functions on the way from main to them are instrumented.
set(waiting_calls
  pageDialog pageEnterFullscreen pageNextFrame pageHold pageFetchReplay)
list(JOIN waiting_calls "," waiting_list)
# The simulation step and the drawing never wait: kept out of the instrumentation (the step
# calls the sound through a pointer, which would otherwise count as a call that may wait).
set(never_waiting "stepWorld*" "drawFrame*")
list(JOIN never_waiting "," never_waiting_list)

# SDL's audio needs these two runtime functions on a page, or the page dies when the audio opens
# (a file, as their names begin with a dollar sign, which no command line keeps intact).
set(library_functions ${CMAKE_CURRENT_BINARY_DIR}/page-library-functions.json)
file(WRITE ${library_functions} "[\"$autoResumeAudioContext\", \"$dynCall\"]\n")

set(page_options
  -sUSE_SDL=0
  -sLEGACY_GL_EMULATION=1
  -sALLOW_MEMORY_GROWTH=1
  -sASYNCIFY=1
  "-sASYNCIFY_IMPORTS=[${waiting_list}]"
  "-sASYNCIFY_REMOVE=[${never_waiting_list}]"
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${library_functions}
  "SHELL:--js-library ${CMAKE_CURRENT_SOURCE_DIR}/WebAudio.js"
  "-sEXPORTED_RUNTIME_METHODS=['ENV']"
  "SHELL:--preload-file ${TORVEL_WEB_ASSETS}/data@/data"
  "SHELL:--preload-file ${TORVEL_WEB_ASSETS}/Data@/Data")
target_link_options(torvel-room PRIVATE ${page_options})
set_property(TARGET torvel-room APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/WebAudio.js
  ${TORVEL_WEB_ASSETS}/data/wand.bmp ${TORVEL_WEB_ASSETS}/Data/Explode.wav)
