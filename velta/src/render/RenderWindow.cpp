#include "render/RenderWindow.h"

namespace Velta {

RenderWindow::RenderWindow(int id, const std::string& name, int width, int height, bool fullscreen, int offsetX,
                           int offsetY, CppLib::LinkedMap<std::string, std::string>*)
    : TargetRenderer(id, width, height), mName(name), mFullscreen(fullscreen), mOffsetX(offsetX), mOffsetY(offsetY)
{
}

RenderWindow::~RenderWindow() = default;

} // namespace Velta
