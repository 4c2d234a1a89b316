#include "app/DisplayCheck.h"

#include "app/WindowManager.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace Ripplejet {

DisplayCheck::~DisplayCheck()
{
    if (mDisplay) {
        XCloseDisplay(mDisplay);
    }
}

std::string DisplayCheck::findProblem()
{
    const std::string size =
        std::to_string(WindowManager::FULLSCREEN_WIDTH) + " x " + std::to_string(WindowManager::FULLSCREEN_HEIGHT);
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        return "no X display to open the " + size + " game window on (DISPLAY is not set)";
    }
    if (!mDisplay) {
        mDisplay = XOpenDisplay(name);
    }
    if (!mDisplay) {
        return "no X display to open the " + size + " game window on (" + name +
               " cannot be reached: no X server answers there, or it refuses this user)";
    }
    return "";
}

} // namespace Ripplejet
