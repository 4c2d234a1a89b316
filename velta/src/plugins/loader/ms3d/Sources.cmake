# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/loader/ms3d/Ms3dPlugin.h plugins/loader/ms3d/Ms3dPlugin.cpp
)
