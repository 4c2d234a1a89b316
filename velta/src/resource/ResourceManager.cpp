#include "resource/ResourceManager.h"

#include "geometry/GeometryManager.h"
#include "resource/MaterialManager.h"
#include "resource/ObjectManager.h"
#include "resource/TextureManager.h"
#include "sound/SoundManager.h"

namespace Velta {

ResourceManager::ResourceManager()
    : mMaterialManager(new MaterialManager()),
      mTextureManager(new TextureManager()),
      mGeometryManager(new GeometryManager()),
      mObjectManager(new ObjectManager()),
      mSoundManager(new SoundManager())
{
}

ResourceManager::~ResourceManager()
{
    delete mMaterialManager;
    delete mTextureManager;
    delete mGeometryManager;
    delete mObjectManager;
    delete mSoundManager;
}

} // namespace Velta
