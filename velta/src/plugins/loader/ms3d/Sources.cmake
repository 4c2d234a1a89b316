# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/loader/ms3d/Ms3dModel.h plugins/loader/ms3d/Ms3dModel.cpp
  plugins/loader/ms3d/Ms3dObjectFactory.h plugins/loader/ms3d/Ms3dObjectFactory.cpp
  plugins/loader/ms3d/Ms3dObjectLoader.h plugins/loader/ms3d/Ms3dObjectLoader.cpp
  plugins/loader/ms3d/Ms3dPlugin.h plugins/loader/ms3d/Ms3dPlugin.cpp
)
