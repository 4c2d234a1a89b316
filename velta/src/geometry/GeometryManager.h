#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"

namespace Velta {

/// Registry of named geometry.
class VELTA_EXPORT GeometryManager {
public:
    GeometryManager();
    virtual ~GeometryManager();

    void setGeometryNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getGeometryNameMapper() const { return mNameMapper; }

private:
    CppLib::SharedPtr<NameMapper> mNameMapper;
};

} // namespace Velta
