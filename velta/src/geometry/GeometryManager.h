#pragma once

#include "VeltaExport.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"

#include <string>

namespace Velta {

class Geometry;

/// Registry of named geometry, so that every object made from one model
/// shares its geometry; hands out the ids of vertex and index data sets.
/// Owned by the resource manager.
///
/// Geometry is kept by the name it was registered under; the name mapper is
/// kept for loaders and not applied to lookups.
class VELTA_EXPORT GeometryManager {
public:
    GeometryManager();
    virtual ~GeometryManager();

    GeometryManager(const GeometryManager&) = delete;
    GeometryManager& operator=(const GeometryManager&) = delete;

    /// A new data-set id: 1, 2, 3, … never reused within a run.
    unsigned long long createDataSetId() { return ++mLastDataSetId; }

    /// Takes an id back; ids are not reused, so this keeps nothing.
    void returnDataSetId(unsigned long long) {}

    /// Stores `geometry` under `name`, replacing what was stored there; an
    /// empty pointer removes the name.
    void registerGeometry(const std::string& name, const CppLib::SharedPtr<Geometry>& geometry);

    /// The geometry stored under `name`, or an empty pointer.
    CppLib::SharedPtr<Geometry> getGeometry(const std::string& name) const;

    bool isLoaded(const std::string& name) const { return mGeometries.contains(name); }

    /// Geometry is not unloaded by name: the objects made from it share it
    /// and keep it while they live. Answers false and changes nothing;
    /// registerGeometry(name, empty) forgets a name.
    bool unloadGeometry(const std::string&) { return false; }

    void setGeometryNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getGeometryNameMapper() const { return mNameMapper; }

private:
    unsigned long long mLastDataSetId = 0;
    CppLib::SharedPtr<NameMapper> mNameMapper;
    CppLib::LinkedMap<std::string, CppLib::SharedPtr<Geometry>> mGeometries;
};

} // namespace Velta
