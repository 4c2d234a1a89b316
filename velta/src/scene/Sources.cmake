# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  scene/SceneManager.h scene/SceneManager.cpp
)
