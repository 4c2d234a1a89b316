#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"

namespace Velta {

/// Registry and factory of images and textures, by resource name; issues
/// the engine-wide texture ids.
class VELTA_EXPORT TextureManager {
public:
    TextureManager();
    virtual ~TextureManager();

    /// A new texture id: 1, 2, 3, … never reused within a run.
    unsigned int createTextureId() { return ++mLastTextureId; }

    /// Takes an id back; ids are not reused, so this keeps nothing.
    void returnTextureId(unsigned int) {}

    /// Where image files named by texture sources are found.
    void setTextureSourceNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mSourceNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getTextureSourceNameMapper() const { return mSourceNameMapper; }

    /// Where textures proper are found; the engine sets none.
    void setTextureNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mTextureNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getTextureNameMapper() const { return mTextureNameMapper; }

private:
    CppLib::SharedPtr<NameMapper> mSourceNameMapper;
    CppLib::SharedPtr<NameMapper> mTextureNameMapper;
    unsigned int mLastTextureId = 0;
};

} // namespace Velta
