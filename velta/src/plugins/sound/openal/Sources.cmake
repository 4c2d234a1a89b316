# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/sound/openal/Mpg123Stream.h plugins/sound/openal/Mpg123Stream.cpp
  plugins/sound/openal/OpenALPlugin.h plugins/sound/openal/OpenALPlugin.cpp
  plugins/sound/openal/OpenALSoundChannel.h plugins/sound/openal/OpenALSoundChannel.cpp
  plugins/sound/openal/OpenALSoundEngine.h plugins/sound/openal/OpenALSoundEngine.cpp
  plugins/sound/openal/OpenALSoundSource.h plugins/sound/openal/OpenALSoundSource.cpp
  plugins/sound/openal/OpenALVoicePool.h plugins/sound/openal/OpenALVoicePool.cpp
)

pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
list(APPEND VELTA_LINK_LIBRARIES PkgConfig::OPENAL PkgConfig::MPG123 ${CMAKE_DL_LIBS})
