# How the program becomes a page: torvel-room.js and .wasm, and torvel-room.data holding the
# pictures and the sound that the desktop build's torvel-assets generated (TORVEL_WEB_ASSETS).
target_link_libraries(torvel-room PRIVATE SDL2::SDL2)
target_compile_options(app PRIVATE -sUSE_SDL=0)
target_compile_options(torvel-room PRIVATE -sUSE_SDL=0)

# The calls that wait for the page: the program is suspended inside them (asyncify). Only the
# path from main to them is instrumented; the simulation and the drawing run as plain code.
set(waiting_calls
  pageDialog pageEnterFullscreen pageNextFrame pageHold)
list(JOIN waiting_calls "," waiting_list)
# Indirect calls are taken as never waiting, so that the physics step (which calls the sound
# through a pointer) and the drawing stay plain; the shell's calls into the platform interface
# do wait, so the functions making them are instrumented by name.
set(platform_callers
  main *runMainLoop* *openGlWindow* *closeGlWindow* *applyKeyCommands* *toggleDisplayMode*
  *failOpening* *reportError* *takeMessage*)
list(JOIN platform_callers "," callers_list)

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
  -sASYNCIFY_IGNORE_INDIRECT=1
  "-sASYNCIFY_ADD=[${callers_list}]"
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${library_functions}
  "-sEXPORTED_RUNTIME_METHODS=['ENV']"
  "SHELL:--preload-file ${TORVEL_WEB_ASSETS}/data@/data"
  "SHELL:--preload-file ${TORVEL_WEB_ASSETS}/Data@/Data")
target_link_options(torvel-room PRIVATE ${page_options})
set_property(TARGET torvel-room APPEND PROPERTY LINK_DEPENDS
  ${TORVEL_WEB_ASSETS}/data/wand.bmp ${TORVEL_WEB_ASSETS}/Data/Explode.wav)
