#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"

namespace Velta {

/// Registry of named geometry; hands out the ids of vertex and index data sets.
class VELTA_EXPORT GeometryManager {
public:
    GeometryManager();
    virtual ~GeometryManager();

    /// A new data-set id: 1, 2, 3, … never reused within a run.
    unsigned long long createDataSetId() { return ++mLastDataSetId; }

    /// Takes an id back; ids are not reused, so this keeps nothing.
    void returnDataSetId(unsigned long long) {}

    void setGeometryNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getGeometryNameMapper() const { return mNameMapper; }

private:
    CppLib::SharedPtr<NameMapper> mNameMapper;
    unsigned long long mLastDataSetId = 0;
};

} // namespace Velta
