#pragma once

#include "VeltaExport.h"
#include "resource/TextureSourceLoader.h"

#include <string>
#include <vector>

namespace Velta {

/// Decodes PNG, PCX (the game's formats), JPEG, BMP and TGA files into
/// DevILTextureData sources, in a layout a renderer can upload: RGB, RGBA
/// or luminance (see DevILImageLayout). The format is told from the file's
/// content, never its name, and each file passes its format's header check
/// (ImageHeaderCheck) before DevIL sees it; files of any other format are
/// refused.
///
/// Files are read whole into memory and decoded from there. A file that is
/// missing, corrupt, of another format or too large gives an empty result
/// and one error line on the logger "loader.devil.textureloader"; the
/// texture manager caches that result, so each file is reported once.
///
/// Created, registered and owned by DevILPlugin. Shutting down (or
/// destroying) the last initialised loader shuts DevIL down, and with it
/// the pixels of every image it decoded.
class VELTA_EXPORT DevILTextureSourceLoader : public TextureSourceLoader {
public:
    DevILTextureSourceLoader();
    ~DevILTextureSourceLoader() override;

    DevILTextureSourceLoader(const DevILTextureSourceLoader&) = delete;
    DevILTextureSourceLoader& operator=(const DevILTextureSourceLoader&) = delete;

    bool isInitialized() const override { return mInitialized; }
    /// Starts DevIL; true.
    bool initialize() override;
    /// Lets DevIL go; true.
    bool shutdown() override;

    /// False: loading into a wanted layout is not offered.
    bool canLoad(const NameMapper::ResourceInfo&, const TextureInfo&) const override { return false; }
    /// True for every file: the format is told from the content on loading.
    bool canLoad(const NameMapper::ResourceInfo&) const override { return true; }
    /// False: converting sources is not offered.
    bool canConvert(const TextureInfo&, bool) const override { return false; }

    /// Empty.
    CppLib::SharedPtr<TextureSource> load(const NameMapper::ResourceInfo& info, const TextureInfo& wanted) override;
    CppLib::SharedPtr<TextureSource> load(const NameMapper::ResourceInfo& info) override;

    /// Decodes a whole image file already in memory as load() does, logging
    /// nothing: empty, with `problem` set, when it cannot.
    CppLib::SharedPtr<TextureSource> decode(const std::vector<unsigned char>& bytes, std::string& problem);

    /// Empty.
    CppLib::SharedPtr<TextureSource> convert(const CppLib::SharedPtr<TextureSource>& source, const TextureInfo& wanted,
                                             bool flag) override;

private:
    bool mInitialized = false;
};

} // namespace Velta
