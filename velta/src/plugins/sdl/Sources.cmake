# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/sdl/SDLInputProvider.h plugins/sdl/SDLInputProvider.cpp
  plugins/sdl/SDLPlugin.h plugins/sdl/SDLPlugin.cpp
  plugins/sdl/SDLTimer.h plugins/sdl/SDLTimer.cpp
  plugins/sdl/SteadyClockCounter.h plugins/sdl/SteadyClockCounter.cpp
)

pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl)
list(APPEND VELTA_LINK_LIBRARIES PkgConfig::SDL)
