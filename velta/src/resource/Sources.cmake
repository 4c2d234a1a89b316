# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  resource/CubeMap.h resource/CubeMap.cpp
  resource/FileNameMapper.h resource/FileNameMapper.cpp
  resource/Material.h resource/Material.cpp
  resource/MaterialManager.h
  resource/NameMapper.h
  resource/NativePath.h resource/NativePath.cpp
  resource/ObjectFactory.h resource/ObjectFactory.cpp
  resource/ObjectLoader.h
  resource/ObjectManager.h resource/ObjectManager.cpp
  resource/RenderSettings.h resource/RenderSettings.cpp
  resource/ResourceContainer.h resource/ResourceContainer.cpp
  resource/ResourceData.h
  resource/ResourceFile.h resource/ResourceFile.cpp
  resource/ResourceLoader.h
  resource/ResourceManager.h resource/ResourceManager.cpp
  resource/Texture.h resource/Texture.cpp
  resource/Texture1D.h resource/Texture1D.cpp
  resource/Texture2D.h resource/Texture2D.cpp
  resource/Texture3D.h resource/Texture3D.cpp
  resource/TextureData.h resource/TextureData.cpp
  resource/TextureInfo.h resource/TextureInfo.cpp
  resource/TextureLoader.h
  resource/TextureManager.h resource/TextureManager.cpp
  resource/TextureProxy.h resource/TextureProxy.cpp
  resource/TextureSource.h resource/TextureSource.cpp
  resource/TextureSourceLoader.h
)
