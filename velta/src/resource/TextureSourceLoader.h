#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"
#include "resource/ResourceLoader.h"

namespace Velta {

class TextureInfo;
class TextureSource;

/// Decodes image files into texture sources, for the texture manager.
///
/// A loader that answers canLoad() for a file is the one the manager asks to
/// load it; an empty result then counts as the file's answer (the manager
/// caches it and asks no other loader).
class VELTA_EXPORT TextureSourceLoader : public ResourceLoader {
public:
    /// Whether load(info, wanted) can deliver the file in the `wanted` layout.
    virtual bool canLoad(const NameMapper::ResourceInfo& info, const TextureInfo& wanted) const = 0;
    /// Whether load(info) is the loader's to answer.
    virtual bool canLoad(const NameMapper::ResourceInfo& info) const = 0;
    /// Whether convert() can bring sources into the `wanted` layout; the
    /// flag is passed through from the caller.
    virtual bool canConvert(const TextureInfo& wanted, bool flag) const = 0;

    /// The file converted to the `wanted` layout; empty on failure.
    virtual CppLib::SharedPtr<TextureSource> load(const NameMapper::ResourceInfo& info,
                                                  const TextureInfo& wanted) = 0;
    /// The file as stored (or in the nearest layout a renderer can upload);
    /// empty on failure.
    virtual CppLib::SharedPtr<TextureSource> load(const NameMapper::ResourceInfo& info) = 0;
    /// `source` in the `wanted` layout; empty when it cannot be converted.
    virtual CppLib::SharedPtr<TextureSource> convert(const CppLib::SharedPtr<TextureSource>& source,
                                                     const TextureInfo& wanted, bool flag) = 0;
};

} // namespace Velta
