#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"

namespace Velta {

/// Turns model names into scene objects through the registered loaders.
class VELTA_EXPORT ObjectManager {
public:
    ObjectManager();
    virtual ~ObjectManager();

    void setObjectNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getObjectNameMapper() const { return mNameMapper; }

private:
    CppLib::SharedPtr<NameMapper> mNameMapper;
};

} // namespace Velta
