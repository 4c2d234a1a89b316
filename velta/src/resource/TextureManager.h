#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"
#include "resource/NameMapper.h"

#include <string>

namespace Velta {

class CubeMap;
class Texture1D;
class Texture2D;
class Texture3D;
class TextureInfo;
class TextureLoader;
class TextureSource;
class TextureSourceLoader;

/// Registry and factory of images and textures, by resource name; issues
/// the engine-wide texture ids.
///
/// Images are asked for by name ("overlays\go.png"): the source name mapper
/// turns the name into a file and the first registered loader willing to
/// load it decodes it. Whatever that loader answers is cached under the
/// name, an empty answer included, so a missing or broken file is tried and
/// reported once and never again. Callers test the result for emptiness.
///
/// Owned by the resource manager. Loaders are borrowed: whoever registers
/// one keeps it alive for as long as the manager may use it.
class VELTA_EXPORT TextureManager {
public:
    TextureManager();
    virtual ~TextureManager();

    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    /// A new texture id: 1, 2, 3, … never reused within a run.
    unsigned int createTextureId() { return ++mLastTextureId; }

    /// Takes an id back; ids are not reused, so this keeps nothing.
    void returnTextureId(unsigned int) {}

    /// Initialises the loader when it is not yet and appends it to the
    /// loaders asked in registration order; answers its position.
    unsigned int registerTextureLoader(TextureLoader& loader);
    unsigned int registerTextureSourceLoader(TextureSourceLoader& loader);

    const CppLib::Vector<TextureLoader*>& getTextureLoaders() const { return mTextureLoaders; }
    const CppLib::Vector<TextureSourceLoader*>& getTextureSourceLoaders() const { return mTextureSourceLoaders; }

    /// Where image files named by texture sources are found.
    void setTextureSourceNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mSourceNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getTextureSourceNameMapper() const { return mSourceNameMapper; }

    /// Where textures proper are found; the engine sets none.
    void setTextureNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mTextureNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getTextureNameMapper() const { return mTextureNameMapper; }

    /// The image of that name, loaded on the first request and shared by
    /// every later one. Empty when the file is missing or unreadable (cached:
    /// the file is not touched again), and when there is no source name
    /// mapper or no willing loader (not cached).
    CppLib::SharedPtr<TextureSource> getTextureSource(const std::string& name);

    /// The image loaded anew in the `wanted` layout by the first loader
    /// willing to; neither taken from nor put into the cache.
    CppLib::SharedPtr<TextureSource> getTextureSource(const std::string& name, const TextureInfo& wanted);

    /// `source` converted to the `wanted` layout by the first loader willing
    /// to; empty when none is. The flag is passed to the loader unchanged.
    CppLib::SharedPtr<TextureSource> getTextureProxy(const CppLib::SharedPtr<TextureSource>& source,
                                                     const TextureInfo& wanted, bool flag) const;

    /// The texture registered (or loaded through the texture name mapper)
    /// under `name`; empty when there is none.
    CppLib::SharedPtr<Texture1D> getTexture1D(const std::string& name);
    CppLib::SharedPtr<Texture2D> getTexture2D(const std::string& name);
    CppLib::SharedPtr<Texture3D> getTexture3D(const std::string& name);
    CppLib::SharedPtr<CubeMap> getCubeMap(const std::string& name);

    /// Puts the object under `name`, replacing what was there.
    void registerTexture1D(const std::string& name, const CppLib::SharedPtr<Texture1D>& texture);
    void registerTexture2D(const std::string& name, const CppLib::SharedPtr<Texture2D>& texture);
    void registerTexture3D(const std::string& name, const CppLib::SharedPtr<Texture3D>& texture);
    void registerCubeMap(const std::string& name, const CppLib::SharedPtr<CubeMap>& cubeMap);
    void registerTextureSource(const std::string& name, const CppLib::SharedPtr<TextureSource>& source);

private:
    template <typename T>
    using Named = CppLib::LinkedMap<std::string, CppLib::SharedPtr<T>>;

    template <typename T>
    CppLib::SharedPtr<T> findOrLoad(Named<T>& textures, const std::string& name,
                                    bool (TextureLoader::*canLoad)(const NameMapper::ResourceInfo&) const,
                                    CppLib::SharedPtr<T> (TextureLoader::*load)(const NameMapper::ResourceInfo&));

    CppLib::SharedPtr<NameMapper> mTextureNameMapper;
    CppLib::SharedPtr<NameMapper> mSourceNameMapper;
    CppLib::Vector<TextureLoader*> mTextureLoaders;
    CppLib::Vector<TextureSourceLoader*> mTextureSourceLoaders;
    Named<TextureSource> mTextureSources;
    Named<Texture1D> mTextures1D;
    Named<Texture2D> mTextures2D;
    Named<Texture3D> mTextures3D;
    Named<CubeMap> mCubeMaps;
    unsigned int mLastTextureId = 0;
};

} // namespace Velta
