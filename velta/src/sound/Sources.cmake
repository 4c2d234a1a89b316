# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  sound/SoundChannel.h
  sound/SoundEngine.h
  sound/SoundManager.h sound/SoundManager.cpp
  sound/SoundSource.h
)
