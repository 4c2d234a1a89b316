// The real game on the virtual display, driven like a player would: keys
// through xdotool, the picture through a screenshot of the screen.
#include "GameProcess.h"

#include "support/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using RipplejetTest::GameProcess;
using RipplejetTest::runCommand;
using RipplejetTest::waitUntil;

// Generous: the machine may be busy and the game built with sanitizers.
constexpr double START_SECONDS = 120;
constexpr double CHANGE_SECONDS = 60;

class Game : public testing::Test {
protected:
    void SetUp() override
    {
        VELTA_REQUIRE_DISPLAY();
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        // Sound goes into nothing rather than to whoever runs the tests.
        setenv("ALSOFT_DRIVERS", "null", 0);
        ASSERT_TRUE(game.start(RIPPLEJET_PROGRAM, RIPPLEJET_BIN_DIR, VeltaTest::VirtualDisplay::get().getName()));
        ASSERT_TRUE(waitUntil([this] { return !findWindow().empty(); }, START_SECONDS))
            << "no window titled Ripplejet appeared\n"
            << game.readStandardError();
    }

    /// The id of the game's visible window; empty while there is none.
    static std::string findWindow()
    {
        std::istringstream ids(runCommand("xdotool search --onlyvisible --name '^Ripplejet$' 2>/dev/null"));
        std::string id;
        ids >> id;
        return id;
    }

    /// "width x height" of the game's window; empty while there is none.
    static std::string windowSize()
    {
        const std::string id = findWindow();
        if (id.empty()) {
            return "";
        }
        const std::string shell = runCommand("xdotool getwindowgeometry --shell " + id + " 2>/dev/null");
        std::smatch width, height;
        if (!std::regex_search(shell, width, std::regex("WIDTH=(\\d+)")) ||
            !std::regex_search(shell, height, std::regex("HEIGHT=(\\d+)"))) {
            return "";
        }
        return width[1].str() + " x " + height[1].str();
    }

    static void press(const std::string& key) { runCommand("xdotool key " + key + " 2>/dev/null"); }

    /// Quits with Escape and expects a clean end.
    void quitWithEscape()
    {
        press("Escape");
        ASSERT_TRUE(game.waitForExit(CHANGE_SECONDS)) << "Escape did not end the game";
        EXPECT_EQ(game.getExitStatus(), 0) << "signal " << game.getTermSignal() << "\n" << game.readStandardError();
    }

    GameProcess game;
};

/// What a screenshot of the whole screen shows, roughly.
struct Picture {
    double meanBrightness = 0; ///< 0 … 255
    size_t colours = 0;        ///< distinct colours, counted on a grid
};

Picture takeScreenshot()
{
    Picture picture;
    const std::string file = "/tmp/ripplejet-e2e-" + std::to_string(getpid()) + ".ppm";
    runCommand("import -window root -depth 8 ppm:" + file + " 2>/dev/null");
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    if (magic != "P6" || width <= 0 || height <= 0 || maximum != 255) {
        std::remove(file.c_str());
        return picture;
    }
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    std::remove(file.c_str());
    if (!in) {
        return picture;
    }
    std::set<unsigned int> colours;
    double sum = 0;
    size_t samples = 0;
    for (int y = 0; y < height; y += 4) {
        for (int x = 0; x < width; x += 4) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            sum += (p[0] + p[1] + p[2]) / 3.0;
            colours.insert(static_cast<unsigned int>(p[0]) << 16 | p[1] << 8 | p[2]);
            ++samples;
        }
    }
    picture.meanBrightness = sum / static_cast<double>(samples);
    picture.colours = colours.size();
    return picture;
}

TEST_F(Game, DrawsItsSceneReportsTheFrameRateOnF2AndEndsWithEscape)
{
    EXPECT_EQ(windowSize(), "1024 x 768");
    Picture picture;
    EXPECT_TRUE(waitUntil(
        [&picture] {
            picture = takeScreenshot();
            return picture.meanBrightness > 30 && picture.colours > 500;
        },
        CHANGE_SECONDS))
        << "the screen stayed black or plain: brightness " << picture.meanBrightness << ", " << picture.colours
        << " colours";

    press("F2");
    const std::regex report("(^|\n)FPS: [1-9][0-9]*\n");
    EXPECT_TRUE(waitUntil([this, &report] { return std::regex_search(game.readStandardError(), report); },
                          CHANGE_SECONDS))
        << game.readStandardError();
    quitWithEscape();
}

TEST_F(Game, TTogglesBetweenFullScreenAndAnEightHundredBySixHundredWindow)
{
    EXPECT_EQ(windowSize(), "1024 x 768");
    press("t");
    EXPECT_TRUE(waitUntil([] { return windowSize() == "800 x 600"; }, CHANGE_SECONDS)) << windowSize();
    press("t");
    EXPECT_TRUE(waitUntil([] { return windowSize() == "1024 x 768"; }, CHANGE_SECONDS)) << windowSize();
    quitWithEscape();
}

TEST(GameWithoutDisplay, ExitsWithFailureAndSaysWhatIsMissing)
{
    GameProcess game;
    ASSERT_TRUE(game.start(RIPPLEJET_PROGRAM, RIPPLEJET_BIN_DIR, ""));
    ASSERT_TRUE(game.waitForExit(CHANGE_SECONDS));
    const std::string log = game.readStandardError();
    EXPECT_NE(game.getExitStatus(), 0) << log;
    EXPECT_EQ(game.getTermSignal(), 0) << log;
    EXPECT_NE(log.find("Ripplejet cannot start: no X display to open the 1024 x 768 game window on (DISPLAY is not "
                       "set)\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find('\x1b'), std::string::npos) << "nothing was drawn on the terminal";
}

} // namespace
