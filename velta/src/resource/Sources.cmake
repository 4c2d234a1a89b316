# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  resource/FileNameMapper.h resource/FileNameMapper.cpp
  resource/Material.h resource/Material.cpp
  resource/MaterialManager.h
  resource/NameMapper.h
  resource/NativePath.h resource/NativePath.cpp
  resource/ObjectManager.h resource/ObjectManager.cpp
  resource/RenderSettings.h resource/RenderSettings.cpp
  resource/ResourceContainer.h resource/ResourceContainer.cpp
  resource/ResourceData.h
  resource/ResourceFile.h resource/ResourceFile.cpp
  resource/ResourceLoader.h
  resource/ResourceManager.h resource/ResourceManager.cpp
  resource/TextureManager.h resource/TextureManager.cpp
)
