#pragma once

#include "core/LogManager.h"
#include "plugins/ImageFiles.h"
#include "plugins/loader/devil/DevILTextureSourceLoader.h"
#include "resource/FileNameMapper.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "resource/TextureSource.h"
#include "support/CoreFixture.h"

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace VeltaTest {

/// Keeps every line logged, as "logger name: message".
class RecordingLog : public CppLib::LogBackend {
public:
    void initialize() override {}
    bool isInitialized() override { return true; }
    CppLib::SharedPtr<CppLib::Logger> getLogger(const std::string& name) override
    {
        return CppLib::SharedPtr<CppLib::Logger>(new Line(mLines, name));
    }

    std::vector<std::string> mLines;

private:
    class Line : public CppLib::Logger {
    public:
        Line(std::vector<std::string>& lines, const std::string& name) : mLines(lines), mName(name) {}
        void fatal(const std::string& m) override { mLines.push_back(mName + ": " + m); }
        void error(const std::string& m) override { mLines.push_back(mName + ": " + m); }
        void warn(const std::string& m) override { mLines.push_back(mName + ": " + m); }
        void info(const std::string& m) override { mLines.push_back(mName + ": " + m); }
        void debug(const std::string& m) override { mLines.push_back(mName + ": " + m); }

    private:
        std::vector<std::string>& mLines;
        std::string mName;
    };
};

/// A started core whose texture manager loads images with a DevIL loader
/// from a fresh folder of its own; every log line is recorded.
class DevILFixture : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        mFolder = (std::filesystem::temp_directory_path()
                   / ("velta-images-" + std::to_string(getpid()) + "-" + test->name()))
                      .string();
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
        core().getLogManager().registerBackend(mLog);
        textures().setTextureSourceNameMapper(
            CppLib::SharedPtr<Velta::NameMapper>(new Velta::FileNameMapper(mFolder)));
        textures().registerTextureSourceLoader(mLoader);
    }

    void TearDown() override
    {
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

    /// The resource path the loader names in its messages.
    std::string fileName(const std::string& name) const
    {
        return textures().getTextureSourceNameMapper()->map(name).fileName;
    }

    std::string mFolder;
    RecordingLog mLog;
    // Outlives the core, as the plug-in's loader does.
    Velta::DevILTextureSourceLoader mLoader;
};

} // namespace VeltaTest
