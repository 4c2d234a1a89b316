#include "app/RipplejetApp.h"

#include "core/ConfigManager.h"
#include "core/VeltaCore.h"
#include "render/RenderManager.h"
#include "level/Level.h"
#include "app/Menu.h"

#include <cstdlib>

namespace Ripplejet {

namespace {

Velta::VeltaCore& core()
{
    return Velta::VeltaCore::getSingleton();
}

} // namespace

RipplejetApp::RipplejetApp() = default;

RipplejetApp::~RipplejetApp() = default;

bool RipplejetApp::init(const CppLib::Vector<std::string>& args)
{
    core().getConfigManager().parseArguments(args, false);
    core().getConfigManager().loadConfiguration("");
    if (!core().setup(true)) {
        mStartupProblem = "the engine could not be set up";
        return false;
    }
    core().getRenderManager().initializeRenderer(false);
    if (!mLevelManager.init()) {
        mStartupProblem = "the levels could not be prepared";
        return false;
    }
    if (!mWindowManager.init()) {
        mStartupProblem = describeWindowFailure();
        return false;
    }
    mMenu = mLevelManager.createMenu();
    if (!mMenu) {
        mStartupProblem = "the menu could not be made";
        return false;
    }
    mWindowManager.setMenu(mMenu.get());
    return true;
}

std::string RipplejetApp::describeWindowFailure() const
{
    const std::string size = std::to_string(WindowManager::FULLSCREEN_WIDTH) + " x " +
                             std::to_string(WindowManager::FULLSCREEN_HEIGHT);
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        return "no X display to open the " + size + " game window on (DISPLAY is not set)";
    }
    return "no " + size + " full-screen OpenGL window could be opened on display " + std::string(display) +
           " (the display is unreachable, has no usable video mode or no working OpenGL; the lines above say which)";
}

void RipplejetApp::run()
{
    mLevel = mLevelManager.createLevel("");
    if (!mLevel) {
        return;
    }
    mWindowManager.setLevel(mLevel.get());
    mWindowManager.startLevel();
    mWindowManager.run();
}

void RipplejetApp::shutdown()
{
    mWindowManager.setLevel(nullptr);
    mWindowManager.setMenu(nullptr);
    mLevel.reset();
    mMenu.reset();
    core().shutdown();
}

} // namespace Ripplejet
