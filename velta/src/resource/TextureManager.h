#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"

namespace Velta {

/// Registry and factory of images and textures, by resource name.
class VELTA_EXPORT TextureManager {
public:
    TextureManager();
    virtual ~TextureManager();

    /// Where image files named by texture sources are found.
    void setTextureSourceNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mSourceNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getTextureSourceNameMapper() const { return mSourceNameMapper; }

    /// Where textures proper are found; the engine sets none.
    void setTextureNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mTextureNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getTextureNameMapper() const { return mTextureNameMapper; }

private:
    CppLib::SharedPtr<NameMapper> mSourceNameMapper;
    CppLib::SharedPtr<NameMapper> mTextureNameMapper;
};

} // namespace Velta
