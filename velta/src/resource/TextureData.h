#pragma once

#include "VeltaExport.h"
#include "cpplib/CowMemPtr.h"
#include "resource/TextureSource.h"

namespace Velta {

/// Pixels held in engine memory: an info and a copy-on-write block shared
/// with whoever made it. Never changes.
///
/// A block shorter than the info's getMemSize() is never read past its end:
/// getTextureData() then answers null (there is no whole image to upload)
/// and getPixel() null for the pixels that lie beyond it.
class VELTA_EXPORT TextureData : public TextureSource {
public:
    TextureData(const TextureInfo& info, const CppLib::CowMemPtr<void>& data);
    ~TextureData() override;

    const TextureInfo& getTextureInfo() const override { return mInfo; }
    bool hasChanged(long long) const override { return false; }
    const void* getTextureData() const override;
    const void* getPixel(unsigned int x, unsigned int y, unsigned int z) const override;
    bool copyData(unsigned int, unsigned int, unsigned int, unsigned int, unsigned int, unsigned int,
                  void*) const override
    {
        return false;
    }

private:
    TextureInfo mInfo;
    CppLib::CowMemPtr<void> mData;
};

} // namespace Velta
