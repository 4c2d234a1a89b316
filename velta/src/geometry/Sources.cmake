# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  geometry/GeometryManager.h geometry/GeometryManager.cpp
)
