# The browser build ("make web"): configured with emscripten's toolchain
# (emcmake), it compiles the game to WebAssembly and makes the site in site/
# of the build folder: index.html (web/index.html), murmel-worlds.js and .wasm,
# the robot player's murmel-worlds-autoplay.js and .wasm (the page with
# "?autoplay"), and the sounds they share, murmel-worlds.data with its
# loader murmel-worlds-data.js; the service worker sw.js that keeps the site
# for offline visits, and the manifest with its icons for a home screen.
#
# Third-party libraries: Ogg, Vorbis and FreeType come from the cache that
# scripts/build-web-deps.sh builds from Debian's sources; SDL 1.x and OpenGL ES
# are emscripten's own (its JavaScript library); Boost is header-only and taken
# from the host. Nothing is looked up through pkg-config.

set(MURMEL_WEB_DEPS "${CMAKE_BINARY_DIR}/deps/prefix" CACHE PATH
  "Where scripts/build-web-deps.sh installed the browser build's libraries")
# The game's memory peaks at about 22 MiB: the playback slots' rings are
# allocated as slots first stream, and a game streams a few at once.
set(MURMEL_WEB_MAXIMUM_MEMORY "32MB" CACHE STRING
  "The most memory the page's WebAssembly may grow to")

if(NOT EXISTS "${MURMEL_WEB_DEPS}/.complete")
  message(FATAL_ERROR "No browser libraries in ${MURMEL_WEB_DEPS}: "
    "run scripts/build-web-deps.sh ${CMAKE_BINARY_DIR} (after scripts/install-deps.sh --web)")
endif()

# Found inside the cache only: the toolchain searches its sysroot and the roots listed here.
list(APPEND CMAKE_FIND_ROOT_PATH "${MURMEL_WEB_DEPS}")
find_package(Vorbis CONFIG REQUIRED)
find_package(freetype CONFIG REQUIRED)
find_path(MURMEL_WEB_SDL_INCLUDE SDL.h PATH_SUFFIXES SDL REQUIRED)

# Boost's headers from the host, through a folder holding nothing else: the
# host's include folder itself would shadow the WebAssembly C library.
find_path(MURMEL_HOST_BOOST_INCLUDE boost/shared_ptr.hpp PATHS /usr/local/include /usr/include
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/host-boost")
file(CREATE_LINK "${MURMEL_HOST_BOOST_INCLUDE}/boost" "${CMAKE_BINARY_DIR}/host-boost/boost" SYMBOLIC)

# emscripten's stb_image header (the library comes with -sSTB_IMAGE), through
# a folder of its own: its third-party folder holds more than headers.
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/stb")
file(CREATE_LINK "${EMSCRIPTEN_ROOT_PATH}/third_party/stb_image.h" "${CMAKE_BINARY_DIR}/stb/stb_image.h" SYMBOLIC)

add_library(murmel_web_deps INTERFACE)
target_include_directories(murmel_web_deps SYSTEM INTERFACE
  "${MURMEL_WEB_SDL_INCLUDE}" "${CMAKE_BINARY_DIR}/host-boost" "${CMAKE_BINARY_DIR}/stb")
target_link_libraries(murmel_web_deps INTERFACE Vorbis::vorbisfile freetype)
# SDL 1.2's names that emscripten's SDL lacks, ahead of every source. The
# mixer's loops are vectorised with WebAssembly's SIMD, as they are with SSE
# on the desktop (every current browser runs it).
target_compile_options(murmel_web_deps INTERFACE
  "SHELL:-include ${CMAKE_SOURCE_DIR}/platforms/web/SDLCompat.h" -msimd128)

# The sounds and the captions' font, packed once into site/murmel-worlds.data
# with its loader site/murmel-worlds-data.js, which the page runs before
# either program: the game and the robot player share them, mounted as
# "/sounds" and "/fonts" (a browser has no font folders to search).
set(MURMEL_WEB_SITE "${CMAKE_BINARY_DIR}/site")
set(MURMEL_WEB_SOUNDS "${CMAKE_SOURCE_DIR}/data/sounds")
file(GLOB MURMEL_WEB_SOUND_FILES CONFIGURE_DEPENDS "${MURMEL_WEB_SOUNDS}/*")
find_file(MURMEL_WEB_CAPTION_FONT Quicksand-Light.ttf PATHS /usr/share/fonts/truetype/quicksand
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_custom_command(
  OUTPUT "${MURMEL_WEB_SITE}/murmel-worlds.data" "${MURMEL_WEB_SITE}/murmel-worlds-data.js"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${MURMEL_WEB_SITE}"
  COMMAND python3 "${EMSCRIPTEN_ROOT_PATH}/tools/file_packager.py" "${MURMEL_WEB_SITE}/murmel-worlds.data"
    --preload "${MURMEL_WEB_SOUNDS}@sounds" "${MURMEL_WEB_CAPTION_FONT}@fonts/Quicksand-Light.ttf" --no-node "--js-output=${MURMEL_WEB_SITE}/murmel-worlds-data.js"
  DEPENDS ${MURMEL_WEB_SOUND_FILES} "${MURMEL_WEB_CAPTION_FONT}"
  COMMENT "Packing the sounds for the browser"
  VERBATIM)
add_custom_target(murmel-web-data DEPENDS "${MURMEL_WEB_SITE}/murmel-worlds.data")

# The page, its service worker and manifest with the icons, once both
# programs and the sounds are built: stamped with the build's version and the
# size of every file a visit fetches (web/stamp-site.py).
file(GLOB MURMEL_WEB_ICONS "${CMAKE_SOURCE_DIR}/dist/icons/hicolor/*/apps/murmel-worlds.png")
set(MURMEL_WEB_TEMPLATES "${CMAKE_SOURCE_DIR}/web")
add_custom_command(
  OUTPUT "${MURMEL_WEB_SITE}/index.html" "${MURMEL_WEB_SITE}/sw.js" "${MURMEL_WEB_SITE}/manifest.webmanifest"
  COMMAND python3 "${MURMEL_WEB_TEMPLATES}/stamp-site.py" "${MURMEL_WEB_SITE}" "${MURMEL_WEB_TEMPLATES}" ${MURMEL_WEB_ICONS}
  DEPENDS murmel-worlds murmel-worlds-autoplay "${MURMEL_WEB_SITE}/murmel-worlds.data"
    "${MURMEL_WEB_TEMPLATES}/stamp-site.py" "${MURMEL_WEB_TEMPLATES}/index.html" "${MURMEL_WEB_TEMPLATES}/sw.js"
    "${MURMEL_WEB_TEMPLATES}/manifest.webmanifest" ${MURMEL_WEB_ICONS}
  COMMENT "Stamping the site with its version"
  VERBATIM)
add_custom_target(murmel-web-site ALL DEPENDS "${MURMEL_WEB_SITE}/index.html")

# A program of the site, in site/ of the build folder: target.js and .wasm,
# single-threaded (threads would need cross-origin isolation headers from the
# server), its memory growing up to a bound, started by the page (callMain)
# rather than on load, its file system there for the sounds' package. The
# page is our own, not emcc's (this emscripten's HTML minifier fails on
# optimised builds).
function(murmel_web_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${MURMEL_WEB_SITE}")
  # Function names stay in the WebAssembly, so that a fault on the console
  # names its functions; the debug information (-g) stays out of the site.
  target_link_options(${target} PRIVATE -g2
    -sALLOW_MEMORY_GROWTH=1 "-sMAXIMUM_MEMORY=${MURMEL_WEB_MAXIMUM_MEMORY}"
    -sENVIRONMENT=web "-sEXPORTED_RUNTIME_METHODS=callMain,UTF8ToString,FS,addRunDependency,removeRunDependency,abort"
    -sFORCE_FILESYSTEM=1 -lidbfs.js -sSTB_IMAGE=1)
  add_dependencies(${target} murmel-web-data)
  # emcc's JavaScript optimiser needs Debian's acorn, which a Node.js from
  # elsewhere does not look for.
  set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK
    "${CMAKE_COMMAND} -E env --modify NODE_PATH=path_list_prepend:/usr/share/nodejs")
endfunction()

# What every layer links, and what the platform's own layer adds (nothing here).
add_library(murmel_platform_libraries INTERFACE)
target_link_libraries(murmel_platform_libraries INTERFACE murmel_web_deps)
add_library(murmel_platform_private INTERFACE)
