// The game's pieces without a window: a window that cannot be opened, and
// the title scene built from the generated game data.
#include "GameEvents.h"

#include "core/ProcessManager.h"
#include "app/WindowManager.h"
#include "scene/Camera.h"
#include "terrain/Terrain.h"
#include "water/Water.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using RipplejetTest::buttonPress;
using RipplejetTest::pointerAt;

constexpr float PI = 3.1415927f;

class WindowManagerWithoutRenderer : public VeltaTest::CoreFixture {};

TEST_F(WindowManagerWithoutRenderer, ReportsTheWindowItCannotOpen)
{
    Ripplejet::WindowManager windows;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(windows.init());
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Cannot open the 1024 x 768 full-screen window \"Ripplejet\"\n"), std::string::npos) << log;
    EXPECT_EQ(windows.getWindow(), nullptr);
}

} // namespace
