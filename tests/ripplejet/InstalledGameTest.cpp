// The game installed into a fresh prefix with `cmake --install`, started
// from the root directory: it finds its engine and its data by itself, and
// says in one line where it looked when the data is gone.
#include "GameProcess.h"
#include "ImageFile.h"

#include "testkit/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using RipplejetTest::GameProcess;
using RipplejetTest::runCommand;
using RipplejetTest::waitUntil;

constexpr double START_SECONDS = 60;

class InstalledGame : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "ripplejet-prefix-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        mPrefix = pattern;
        const std::string log = mPrefix + "/install.log";
        const std::string command = std::string("'") + CMAKE_COMMAND + "' --install '" + RIPPLEJET_BUILD_DIR +
                                    "' --prefix '" + mPrefix + "' >'" + log + "' 2>&1 && echo installed";
        ASSERT_EQ(runCommand(command), "installed\n") << runCommand("cat '" + log + "'");
        setenv("ALSOFT_DRIVERS", "null", 1);
    }

    void TearDown() override { fs::remove_all(mPrefix); }

    std::string program() const { return mPrefix + "/bin/ripplejet"; }

    std::string mPrefix;
};

TEST_F(InstalledGame, HasItsProgramEngineDataDesktopEntryAndIcon)
{
    EXPECT_TRUE(fs::is_regular_file(program()));
    EXPECT_TRUE(fs::is_regular_file(mPrefix + "/lib/libvelta.so"));
    EXPECT_TRUE(fs::is_regular_file(mPrefix + "/share/ripplejet/models/mallard.ms3d"));
    EXPECT_TRUE(fs::is_regular_file(mPrefix + "/share/ripplejet/sound/music.mp3"));
    EXPECT_TRUE(fs::is_regular_file(mPrefix + "/share/ripplejet/textures/heightmap.pcx"));
    const std::string entry = runCommand("cat '" + mPrefix + "/share/applications/ripplejet.desktop'");
    EXPECT_NE(entry.find("\nExec=ripplejet\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=ripplejet\n"), std::string::npos) << entry;
    VeltaTools::RawImage icon;
    ASSERT_TRUE(VeltaTools::readPng(mPrefix + "/share/icons/hicolor/128x128/apps/ripplejet.png", icon));
    EXPECT_EQ(icon.width, 128);
    EXPECT_EQ(icon.height, 128);
    const std::string libraries = runCommand("ldd '" + program() + "'");
    EXPECT_NE(libraries.find("libvelta.so => " + mPrefix + "/bin/../lib/libvelta.so "), std::string::npos)
        << "the engine is found beside the program, not in the build:\n"
        << libraries;
}

TEST_F(InstalledGame, StartedFromTheRootDirectoryFindsItsDataAndSavesAScreenshotWithF12)
{
    VELTA_REQUIRE_DISPLAY();
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    const std::string shots = mPrefix + "/home-data/ripplejet/screenshots";
    setenv("XDG_DATA_HOME", (mPrefix + "/home-data").c_str(), 1);
    GameProcess game;
    ASSERT_TRUE(game.start(program(), "/", VeltaTest::VirtualDisplay::get().getName()));
    const auto window = [] {
        std::istringstream ids(runCommand("xdotool search --onlyvisible --name '^Ripplejet$' 2>/dev/null"));
        std::string id;
        return static_cast<bool>(ids >> id);
    };
    ASSERT_TRUE(waitUntil(window, START_SECONDS)) << "no window\n" << game.readStandardError();

    runCommand("xdotool key F12 2>/dev/null");
    const std::regex saved("^Screenshot saved to (" + shots + "/ripplejet-\\d{4}-\\d\\d-\\d\\d-\\d{6}-1\\.png)\n");
    std::smatch match;
    std::string log;
    ASSERT_TRUE(waitUntil(
        [&] {
            log = game.readStandardError();
            return std::regex_search(log, match, saved);
        },
        START_SECONDS))
        << log;
    VeltaTools::RawImage picture;
    ASSERT_TRUE(VeltaTools::readPng(match[1].str(), picture));
    EXPECT_EQ(picture.width, 1024);
    EXPECT_EQ(picture.height, 768);
    double brightness = 0;
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
        brightness += picture.pixels[i] + picture.pixels[i + 1] + picture.pixels[i + 2];
    }
    EXPECT_GT(brightness / (picture.pixels.size() / 4 * 3), 30.0) << "the valley, not a black frame";

    runCommand("xdotool key Escape 2>/dev/null");
    ASSERT_TRUE(game.waitForExit(START_SECONDS)) << "Escape did not end the game";
    EXPECT_EQ(game.getExitStatus(), 0) << game.readStandardError();
    unsetenv("XDG_DATA_HOME");
}

TEST_F(InstalledGame, WithoutItsDataNamesEveryPlaceItLookedInOneLineAndExitsWithFailure)
{
    if (fs::exists(fs::path(RIPPLEJET_INSTALLED_DATA_DIR) / "models")) {
        GTEST_SKIP() << "the game is installed in " << RIPPLEJET_INSTALLED_DATA_DIR << " and would be found there";
    }
    fs::remove_all(mPrefix + "/share/ripplejet");
    GameProcess game;
    ASSERT_TRUE(game.start(program(), "/", ""));
    ASSERT_TRUE(game.waitForExit(START_SECONDS));
    EXPECT_EQ(game.getExitStatus(), 1);
    EXPECT_EQ(game.readStandardError(), "Ripplejet cannot start: no game data (a models/ directory) in the working "
                                        "directory /, " +
                                            mPrefix + "/bin, " + mPrefix + "/share/ripplejet or " +
                                            RIPPLEJET_INSTALLED_DATA_DIR +
                                            "; name the data directory with --data DIR\n");
}

} // namespace
