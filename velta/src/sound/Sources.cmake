# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  sound/Sound.h sound/Sound.cpp
  sound/SoundChannel.h
  sound/SoundEngine.h
  sound/SoundManager.h sound/SoundManager.cpp
  sound/SoundSource.h
)
