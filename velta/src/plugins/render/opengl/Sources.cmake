# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/render/opengl/GLRenderPlugin.h plugins/render/opengl/GLRenderPlugin.cpp
)
