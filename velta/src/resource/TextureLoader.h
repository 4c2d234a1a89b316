#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"
#include "resource/ResourceLoader.h"

namespace Velta {

class CubeMap;
class Texture1D;
class Texture2D;
class Texture3D;

/// Makes finished textures (sampling state and images) from files named by
/// the texture manager's texture name mapper. The engine registers none;
/// the interface is there for back ends that store whole textures.
class VELTA_EXPORT TextureLoader : public ResourceLoader {
public:
    virtual bool canLoadTexture1D(const NameMapper::ResourceInfo& info) const = 0;
    virtual bool canLoadTexture2D(const NameMapper::ResourceInfo& info) const = 0;
    virtual bool canLoadTexture3D(const NameMapper::ResourceInfo& info) const = 0;
    virtual bool canLoadCubeMap(const NameMapper::ResourceInfo& info) const = 0;

    /// Empty when the file cannot be loaded.
    virtual CppLib::SharedPtr<Texture1D> loadTexture1D(const NameMapper::ResourceInfo& info) = 0;
    virtual CppLib::SharedPtr<Texture2D> loadTexture2D(const NameMapper::ResourceInfo& info) = 0;
    virtual CppLib::SharedPtr<Texture3D> loadTexture3D(const NameMapper::ResourceInfo& info) = 0;
    virtual CppLib::SharedPtr<CubeMap> loadCubeMap(const NameMapper::ResourceInfo& info) = 0;
};

} // namespace Velta
