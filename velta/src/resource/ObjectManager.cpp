#include "resource/ObjectManager.h"

#include "core/VeltaCore.h"
#include "cpplib/Logger.h"
#include "resource/ObjectFactory.h"
#include "resource/ObjectLoader.h"
#include "scene/ObjectNode.h"

namespace Velta {

using CppLib::SharedPtr;

ObjectManager::ObjectManager() = default;

// The loaders are borrowed: neither shut down nor deleted here. Objects made
// by the factories keep what they share.
ObjectManager::~ObjectManager() = default;

unsigned int ObjectManager::registerObjectLoader(ObjectLoader& loader)
{
    if (!loader.isInitialized() && !loader.initialize()) {
        return 0;
    }
    // A name no loader could read before may be this one's.
    mFailedNames.clear();
    return static_cast<unsigned int>(mObjectLoaders.append(&loader)) + 1;
}

void ObjectManager::registerObjectFactory(const std::string& name, const SharedPtr<ObjectFactory>& factory)
{
    mFailedNames.erase(name);
    if (factory.isNull()) {
        mObjectFactories.remove(name);
    } else {
        mObjectFactories.put(name, factory);
    }
}

bool ObjectManager::unloadObjectFactory(const std::string& name)
{
    mObjectFactories.remove(name);
    mFailedNames.erase(name);
    return true;
}

ObjectNode* ObjectManager::createObject(const std::string& name)
{
    const SharedPtr<ObjectFactory> factory = findOrLoad(name);
    return factory.isNull() ? nullptr : factory->createObject();
}

SharedPtr<ObjectFactory> ObjectManager::findOrLoad(const std::string& name)
{
    if (const SharedPtr<ObjectFactory>* kept = mObjectFactories.find(name)) {
        return *kept;
    }
    if (mNameMapper.isNull() || mFailedNames.count(name) > 0) {
        return {};
    }
    const NameMapper::ResourceInfo info = mNameMapper->map(name);
    for (ObjectLoader* loader : mObjectLoaders) {
        if (loader->canLoad(info)) {
            const SharedPtr<ObjectFactory> factory = loader->load(info);
            if (!factory.isNull()) {
                return mObjectFactories.put(name, factory);
            }
            break;
        }
    }
    mFailedNames.insert(name);
    VeltaCore::getLogger("objectmanager")->error("Could not find an objectloader for " + name);
    return {};
}

} // namespace Velta
