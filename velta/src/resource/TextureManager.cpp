#include "resource/TextureManager.h"

#include "resource/CubeMap.h"
#include "resource/Texture1D.h"
#include "resource/Texture2D.h"
#include "resource/Texture3D.h"
#include "resource/TextureInfo.h"
#include "resource/TextureLoader.h"
#include "resource/TextureSource.h"
#include "resource/TextureSourceLoader.h"

namespace Velta {

using CppLib::SharedPtr;

TextureManager::TextureManager() = default;

// The loaders are borrowed: neither shut down nor deleted here.
TextureManager::~TextureManager() = default;

unsigned int TextureManager::registerTextureLoader(TextureLoader& loader)
{
    if (!loader.isInitialized()) {
        loader.initialize();
    }
    return static_cast<unsigned int>(mTextureLoaders.append(&loader));
}

unsigned int TextureManager::registerTextureSourceLoader(TextureSourceLoader& loader)
{
    if (!loader.isInitialized()) {
        loader.initialize();
    }
    return static_cast<unsigned int>(mTextureSourceLoaders.append(&loader));
}

SharedPtr<TextureSource> TextureManager::getTextureSource(const std::string& name)
{
    if (const SharedPtr<TextureSource>* cached = mTextureSources.find(name)) {
        return *cached;
    }
    if (mSourceNameMapper.isNull()) {
        return {};
    }
    const NameMapper::ResourceInfo info = mSourceNameMapper->map(name);
    for (TextureSourceLoader* loader : mTextureSourceLoaders) {
        if (loader->canLoad(info)) {
            // The willing loader's answer is final, a failure included: it is
            // cached so that the file is neither read nor reported again.
            return mTextureSources.put(name, loader->load(info));
        }
    }
    return {};
}

SharedPtr<TextureSource> TextureManager::getTextureSource(const std::string& name, const TextureInfo& wanted)
{
    if (mSourceNameMapper.isNull()) {
        return {};
    }
    const NameMapper::ResourceInfo info = mSourceNameMapper->map(name);
    for (TextureSourceLoader* loader : mTextureSourceLoaders) {
        if (loader->canLoad(info, wanted)) {
            return loader->load(info, wanted);
        }
    }
    return {};
}

SharedPtr<TextureSource> TextureManager::getTextureProxy(const SharedPtr<TextureSource>& source,
                                                         const TextureInfo& wanted, bool flag) const
{
    for (TextureSourceLoader* loader : mTextureSourceLoaders) {
        if (loader->canConvert(wanted, flag)) {
            return loader->convert(source, wanted, flag);
        }
    }
    return {};
}

template <typename T>
SharedPtr<T> TextureManager::findOrLoad(Named<T>& textures, const std::string& name,
                                        bool (TextureLoader::*canLoad)(const NameMapper::ResourceInfo&) const,
                                        SharedPtr<T> (TextureLoader::*load)(const NameMapper::ResourceInfo&))
{
    if (const SharedPtr<T>* known = textures.find(name)) {
        return *known;
    }
    if (mTextureNameMapper.isNull()) {
        return {};
    }
    const NameMapper::ResourceInfo info = mTextureNameMapper->map(name);
    for (TextureLoader* loader : mTextureLoaders) {
        if ((loader->*canLoad)(info)) {
            return textures.put(name, (loader->*load)(info));
        }
    }
    return {};
}

SharedPtr<Texture1D> TextureManager::getTexture1D(const std::string& name)
{
    return findOrLoad(mTextures1D, name, &TextureLoader::canLoadTexture1D, &TextureLoader::loadTexture1D);
}

SharedPtr<Texture2D> TextureManager::getTexture2D(const std::string& name)
{
    return findOrLoad(mTextures2D, name, &TextureLoader::canLoadTexture2D, &TextureLoader::loadTexture2D);
}

SharedPtr<Texture3D> TextureManager::getTexture3D(const std::string& name)
{
    return findOrLoad(mTextures3D, name, &TextureLoader::canLoadTexture3D, &TextureLoader::loadTexture3D);
}

SharedPtr<CubeMap> TextureManager::getCubeMap(const std::string& name)
{
    return findOrLoad(mCubeMaps, name, &TextureLoader::canLoadCubeMap, &TextureLoader::loadCubeMap);
}

void TextureManager::registerTexture1D(const std::string& name, const SharedPtr<Texture1D>& texture)
{
    mTextures1D.put(name, texture);
}

void TextureManager::registerTexture2D(const std::string& name, const SharedPtr<Texture2D>& texture)
{
    mTextures2D.put(name, texture);
}

void TextureManager::registerTexture3D(const std::string& name, const SharedPtr<Texture3D>& texture)
{
    mTextures3D.put(name, texture);
}

void TextureManager::registerCubeMap(const std::string& name, const SharedPtr<CubeMap>& cubeMap)
{
    mCubeMaps.put(name, cubeMap);
}

void TextureManager::registerTextureSource(const std::string& name, const SharedPtr<TextureSource>& source)
{
    mTextureSources.put(name, source);
}

} // namespace Velta
