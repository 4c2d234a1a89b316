# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  water/Water.h water/Water.cpp
)
