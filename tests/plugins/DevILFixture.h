#pragma once

#include "plugins/ImageFiles.h"
#include "plugins/loader/devil/DevILTextureSourceLoader.h"
#include "resource/FileNameMapper.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "resource/TextureSource.h"
#include "support/CoreFixture.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace VeltaTest {

/// A started core whose texture manager loads images with a DevIL loader
/// from a fresh folder of its own, with the log on standard error captured.
class DevILFixture : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        mFolder = std::filesystem::temp_directory_path()
            / ("velta-images-" + std::to_string(getpid()) + "-"
               + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mFolder);
        textures().setTextureSourceNameMapper(CppLib::SharedPtr<Velta::NameMapper>(new Velta::FileNameMapper(mFolder)));
        textures().registerTextureSourceLoader(mLoader);
        testing::internal::CaptureStderr();
    }

    void TearDown() override
    {
        testing::internal::GetCapturedStderr();
        CoreFixture::TearDown();
        std::filesystem::remove_all(mFolder);
    }

    static Velta::TextureManager& textures() { return core().getResourceManager().getTextureManager(); }

    /// Writes the image `name` (slashes for subfolders) into the folder.
    void write(const std::string& name, const ImageFiles::Bytes& bytes)
    {
        const std::filesystem::path path = std::filesystem::path(mFolder) / name;
        std::filesystem::create_directories(path.parent_path());
        ImageFiles::write(path.string(), bytes);
    }

    /// Writes the image and loads it through the loader itself, uncached.
    CppLib::SharedPtr<Velta::TextureSource> load(const std::string& name, const ImageFiles::Bytes& bytes)
    {
        write(name, bytes);
        return mLoader.load(textures().getTextureSourceNameMapper()->map(name));
    }

    /// The lines logged since the last call.
    std::vector<std::string> logged()
    {
        std::istringstream text(testing::internal::GetCapturedStderr());
        testing::internal::CaptureStderr();
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    /// The start of the line a failed load of `name` logs: the file as on disk.
    std::string failure(const std::string& name) const { return "Error opening " + mFolder + "/" + name + ": "; }

    std::string mFolder;
    Velta::DevILTextureSourceLoader mLoader;  // outlives the core, as the plug-in's does
};

} // namespace VeltaTest
