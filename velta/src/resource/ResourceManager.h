#pragma once

#include "VeltaExport.h"

namespace Velta {

class GeometryManager;
class MaterialManager;
class ObjectManager;
class SoundManager;
class TextureManager;

/// Owns the resource managers (material, texture, geometry, object, sound)
/// and hands out resource provider ids (0, 1, …; never reused) to back ends
/// that attach records to resources.
class VELTA_EXPORT ResourceManager {
public:
    ResourceManager();
    virtual ~ResourceManager();

    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    MaterialManager& getMaterialManager() const { return *mMaterialManager; }
    TextureManager& getTextureManager() const { return *mTextureManager; }
    GeometryManager& getGeometryManager() const { return *mGeometryManager; }
    ObjectManager& getObjectManager() const { return *mObjectManager; }
    SoundManager& getSoundManager() const { return *mSoundManager; }

    unsigned int createResourceProviderId() { return mNextProviderId++; }
    void returnResourceProviderId(unsigned int) {}

private:
    MaterialManager* mMaterialManager;
    TextureManager* mTextureManager;
    GeometryManager* mGeometryManager;
    ObjectManager* mObjectManager;
    SoundManager* mSoundManager;
    unsigned int mNextProviderId = 0;
};

} // namespace Velta
