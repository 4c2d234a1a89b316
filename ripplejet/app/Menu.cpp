#include "app/Menu.h"

#include "scene/Camera.h"

namespace Ripplejet {

Menu::Menu() : Velta::InputProcessor(-1) {}

Menu::~Menu() = default;

bool Menu::processInputEvent(Velta::InputEvent&)
{
    return true;
}

CppLib::SharedPtr<Velta::Camera> Menu::getCamera()
{
    return {};
}

} // namespace Ripplejet
