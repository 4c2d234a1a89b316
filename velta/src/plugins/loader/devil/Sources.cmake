# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/loader/devil/DevILImageLayout.h plugins/loader/devil/DevILImageLayout.cpp
  plugins/loader/devil/DevILLibrary.h plugins/loader/devil/DevILLibrary.cpp
  plugins/loader/devil/DevILPlugin.h plugins/loader/devil/DevILPlugin.cpp
  plugins/loader/devil/DevILTextureData.h plugins/loader/devil/DevILTextureData.cpp
  plugins/loader/devil/DevILTextureSourceLoader.h plugins/loader/devil/DevILTextureSourceLoader.cpp
  plugins/loader/devil/ImageHeaderCheck.h plugins/loader/devil/ImageHeaderCheck.cpp
)

pkg_check_modules(DEVIL REQUIRED IMPORTED_TARGET IL ILU)
list(APPEND VELTA_LINK_LIBRARIES PkgConfig::DEVIL)
