# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/sound/openal/OpenALPlugin.h plugins/sound/openal/OpenALPlugin.cpp
)
