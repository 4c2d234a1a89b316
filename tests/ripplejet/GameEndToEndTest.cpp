// The real game on the virtual display, driven like a player would: keys
// through xdotool, the picture through a screenshot of the screen.
#include "GameProcess.h"

#include "testkit/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <utility>

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
        const std::string shell = id.empty() ? "" : runCommand("xdotool getwindowgeometry " + id + " 2>/dev/null");
        std::smatch size;
        return std::regex_search(shell, size, std::regex("Geometry: (\\d+)x(\\d+)"))
                   ? size[1].str() + " x " + size[2].str()
                   : "";
    }

    static void press(const std::string& key) { runCommand("xdotool key " + key + " 2>/dev/null"); }

    GameProcess game;
};

/// A screenshot of the whole screen: "mean-brightness(0…255) colours".
std::pair<double, long> takeScreenshot()
{
    std::istringstream stats(
        runCommand("import -window root -depth 8 png:- 2>/dev/null | convert - -format '%[fx:mean*255] %k' info:"));
    std::pair<double, long> picture{0, 0};
    stats >> picture.first >> picture.second;
    return picture;
}

TEST_F(Game, ShowsItsSceneTogglesFullScreenReportsTheFrameRateAndEndsWithEscape)
{
    EXPECT_EQ(windowSize(), "1024 x 768");
    std::pair<double, long> picture;
    EXPECT_TRUE(waitUntil(
        [&picture] {
            picture = takeScreenshot();
            return picture.first > 30 && picture.second > 500;
        },
        CHANGE_SECONDS))
        << "the screen stayed black or plain: brightness " << picture.first << ", " << picture.second << " colours";

    press("t");
    EXPECT_TRUE(waitUntil([] { return windowSize() == "800 x 600"; }, CHANGE_SECONDS)) << windowSize();
    press("t");
    EXPECT_TRUE(waitUntil([] { return windowSize() == "1024 x 768"; }, CHANGE_SECONDS)) << windowSize();

    press("F2");
    const std::regex report("(^|\n)FPS: [1-9][0-9]*\n");
    EXPECT_TRUE(waitUntil([this, &report] { return std::regex_search(game.readStandardError(), report); },
                          CHANGE_SECONDS))
        << game.readStandardError();

    press("Escape");
    ASSERT_TRUE(game.waitForExit(CHANGE_SECONDS)) << "Escape did not end the game";
    EXPECT_EQ(game.getExitStatus(), 0) << "signal " << game.getTermSignal() << "\n" << game.readStandardError();
}

/// The screen's pixels in a rectangle (from the top left), as RGB bytes.
std::string screenRegion(int x, int y, int width, int height)
{
    return runCommand("import -window root -depth 8 -crop " + std::to_string(width) + "x" + std::to_string(height) +
                      "+" + std::to_string(x) + "+" + std::to_string(y) + " +repage rgb:- 2>/dev/null");
}

/// How many pixels of an RGB block pass `test`.
template <typename Test>
int countPixels(const std::string& rgb, Test test)
{
    int count = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        const int r = static_cast<unsigned char>(rgb[i]);
        const int g = static_cast<unsigned char>(rgb[i + 1]);
        const int b = static_cast<unsigned char>(rgb[i + 2]);
        count += test(r, g, b) ? 1 : 0;
    }
    return count;
}

/// The sign's words across the middle of the screen.
std::string signBand()
{
    return screenRegion(260, 270, 500, 170);
}

int goldenPixels(const std::string& rgb)
{
    return countPixels(rgb, [](int r, int g, int b) { return r > 220 && g > 150 && g < 235 && b < 110; });
}

int greenPixels(const std::string& rgb)
{
    return countPixels(rgb, [](int r, int g, int b) { return g > 180 && r < 160 && b < 150; });
}

/// Mean difference of two RGB blocks of the same size, 0 … 255.
double difference(const std::string& a, const std::string& b)
{
    if (a.size() != b.size() || a.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        sum += std::abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]));
    }
    return sum / static_cast<double>(a.size());
}

TEST_F(Game, ShowsReadyThenGoOnAClickAndTheViewMovesDownTheRiver)
{
    // "READY?" in gold across the middle until the first click.
    std::string band;
    ASSERT_TRUE(waitUntil(
        [&band] {
            band = signBand();
            return goldenPixels(band) > 2000;
        },
        START_SECONDS))
        << "no golden sign: " << goldenPixels(band) << " golden pixels";
    EXPECT_LT(greenPixels(band), 500);

    runCommand("xdotool click 1 2>/dev/null");
    ASSERT_TRUE(waitUntil(
        [&band] {
            band = signBand();
            return greenPixels(band) > 2000;
        },
        CHANGE_SECONDS))
        << "no green \"GO!\": " << greenPixels(band) << " green pixels";
    EXPECT_LT(goldenPixels(band), 500);

    // A second later the sign is gone and the duck swims: the view moves.
    runCommand("xdotool keydown w 2>/dev/null");
    std::string before;
    ASSERT_TRUE(waitUntil(
        [&before] {
            before = signBand();
            return greenPixels(before) < 200 && goldenPixels(before) < 200;
        },
        CHANGE_SECONDS));
    const std::string view = screenRegion(200, 100, 624, 568);
    std::string later;
    EXPECT_TRUE(waitUntil(
        [&view, &later] {
            later = screenRegion(200, 100, 624, 568);
            return difference(view, later) > 12.0;
        },
        CHANGE_SECONDS))
        << "the view stayed as it was: mean difference " << difference(view, later);
    runCommand("xdotool keyup w 2>/dev/null");

    press("Escape");
    ASSERT_TRUE(game.waitForExit(CHANGE_SECONDS)) << "Escape did not end the game";
    EXPECT_EQ(game.getExitStatus(), 0) << game.readStandardError();
    EXPECT_EQ(game.readStandardError(), "") << "no log line in a whole race start";
}

TEST(GameWithoutDisplay, SaysWhatIsMissingInItsFirstLineAndExitsWithFailure)
{
    // No DISPLAY, and one that names a display nobody serves.
    const std::pair<std::string, std::string> cases[] = {
        {"", "(DISPLAY is not set)"},
        {":4711", "(:4711 cannot be reached: no X server answers there, or it refuses this user)"},
    };
    for (const auto& [display, reason] : cases) {
        SCOPED_TRACE(display);
        GameProcess game;
        ASSERT_TRUE(game.start(RIPPLEJET_PROGRAM, RIPPLEJET_BIN_DIR, display));
        ASSERT_TRUE(game.waitForExit(CHANGE_SECONDS));
        const std::string log = game.readStandardError();
        EXPECT_EQ(game.getExitStatus(), 1) << log;
        EXPECT_EQ(game.getTermSignal(), 0) << log;
        EXPECT_EQ(log.substr(0, log.find('\n') + 1),
                  "Ripplejet cannot start: no X display to open the 1024 x 768 game window on " + reason + "\n")
            << log;
        EXPECT_EQ(log.find("cannot start", log.find('\n')), std::string::npos) << "said once:\n" << log;
        EXPECT_EQ(log.find('\x1b'), std::string::npos) << "nothing was drawn on the terminal";
    }
}

} // namespace
