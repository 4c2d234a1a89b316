# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  particles/FollowModifier.h particles/FollowModifier.cpp
  particles/LinearForceModel.h particles/LinearForceModel.cpp
  particles/ParticleData.h particles/ParticleData.cpp
  particles/ParticleEngine.h particles/ParticleEngine.cpp
  particles/PointEmitter.h particles/PointEmitter.cpp
  particles/RandomSource.h particles/RandomSource.cpp
  particles/RotateForceModel.h particles/RotateForceModel.cpp
  particles/SteppedModifier.h particles/SteppedModifier.cpp
  particles/VelocityModifier.h particles/VelocityModifier.cpp
)
