# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  particles/FollowModifier.h particles/FollowModifier.cpp
  particles/VelocityModifier.h particles/VelocityModifier.cpp
)
