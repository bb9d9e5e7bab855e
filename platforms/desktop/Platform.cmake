# The desktop build's libraries, all from Debian's packages through pkg-config.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MURMEL_DEPS REQUIRED IMPORTED_TARGET
  sdl SDL_image vorbisfile vorbisenc vorbis ogg portaudio-2.0 freetype2 gl glu)
# Sound files recorded at other rates than the device's are resampled.
pkg_check_modules(MURMEL_SOXR REQUIRED IMPORTED_TARGET soxr)
find_package(Boost REQUIRED)
find_package(Threads REQUIRED)

# What every layer links, and what the platform's own layer adds.
add_library(murmel_platform_libraries INTERFACE)
target_link_libraries(murmel_platform_libraries INTERFACE PkgConfig::MURMEL_DEPS Boost::boost Threads::Threads)
add_library(murmel_platform_private INTERFACE)
target_link_libraries(murmel_platform_private INTERFACE PkgConfig::MURMEL_SOXR)
