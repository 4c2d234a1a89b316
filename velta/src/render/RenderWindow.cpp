#include "render/RenderWindow.h"

#include <utility>

namespace Velta {

RenderWindow::RenderWindow(int id, const std::string& name, int width, int height, bool fullscreen, int offsetX,
                           int offsetY, CppLib::LinkedMap<std::string, std::string>*)
    : TargetRenderer(id, width, height), mName(name), mFullscreen(fullscreen), mOffsetX(offsetX), mOffsetY(offsetY)
{
}

RenderWindow::~RenderWindow() = default;

bool RenderWindow::changeMode(int, int, bool)
{
    return false;
}

void RenderWindow::runBeforeShow()
{
    if (mBeforeShow) {
        // Taken out first: the action may ask for the next frame again.
        const std::function<void()> action = std::move(mBeforeShow);
        mBeforeShow = nullptr;
        action();
    }
}

} // namespace Velta
