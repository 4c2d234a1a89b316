#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"
#include "resource/NameMapper.h"

#include <set>
#include <string>

namespace Velta {

class ObjectFactory;
class ObjectLoader;
class ObjectNode;

/// Turns model names ("banana.ms3d") into new scene objects.
///
/// The first request for a name maps it to a file through the object name
/// mapper and has the first registered loader willing to read that file
/// make a factory for it; the factory is kept under the name, and every
/// request for the name, that one included, asks it for a fresh object. All
/// objects of one model therefore share one geometry and one set of
/// materials.
///
/// A name that could not be loaded is reported once ("objectmanager"
/// logger) and remembered: later requests answer null at once without
/// touching the file, until the name is unloaded or another loader is
/// registered.
///
/// Owned by the resource manager. Loaders are borrowed: whoever registers
/// one keeps it alive for as long as the manager may use it.
class VELTA_EXPORT ObjectManager {
public:
    ObjectManager();
    virtual ~ObjectManager();

    ObjectManager(const ObjectManager&) = delete;
    ObjectManager& operator=(const ObjectManager&) = delete;

    /// Initialises the loader when it is not yet and appends it to the
    /// loaders asked in registration order. Answers the number of loaders
    /// registered so far (1 for the first), or 0, registering nothing, when
    /// the loader cannot be initialised.
    unsigned int registerObjectLoader(ObjectLoader& loader);

    const CppLib::Vector<ObjectLoader*>& getObjectLoaders() const { return mObjectLoaders; }

    /// Where model files are found.
    void setObjectNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getObjectNameMapper() const { return mNameMapper; }

    /// Keeps `factory` under `name`, replacing the factory kept there; later
    /// requests for the name use it. An empty pointer removes the name.
    void registerObjectFactory(const std::string& name, const CppLib::SharedPtr<ObjectFactory>& factory);

    /// Whether a factory is kept under `name`.
    bool isLoaded(const std::string& name) const { return mObjectFactories.contains(name); }

    /// Drops the factory kept under `name` (and a remembered failure), so the
    /// next request loads the file again. Objects made before keep their
    /// shared geometry and materials. Always true.
    bool unloadObjectFactory(const std::string& name);

    /// A new object of the model `name`, owned by the caller; null when the
    /// model cannot be loaded (one line the first time) or when there is no
    /// name mapper (no line).
    ObjectNode* createObject(const std::string& name);

private:
    /// The factory for `name`, loading it on the first request; empty when
    /// it cannot be had.
    CppLib::SharedPtr<ObjectFactory> findOrLoad(const std::string& name);

    CppLib::SharedPtr<NameMapper> mNameMapper;
    CppLib::Vector<ObjectLoader*> mObjectLoaders;
    CppLib::LinkedMap<std::string, CppLib::SharedPtr<ObjectFactory>> mObjectFactories;
    /// Names whose load failed and has been reported.
    std::set<std::string> mFailedNames;
};

} // namespace Velta
