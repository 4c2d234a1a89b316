# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/loader/devil/DevILPlugin.h plugins/loader/devil/DevILPlugin.cpp
)
