#pragma once

#include "cpplib/SharedPtr.h"
#include "input/InputProcessor.h"

namespace Velta {
class Camera;
} // namespace Velta

namespace Ripplejet {

/// What receives input while no level runs. It shows nothing yet (no
/// camera) and swallows every event.
///
/// Made by the level manager; the application owns it.
class Menu : public Velta::InputProcessor {
public:
    /// Needs a started engine core.
    Menu();
    ~Menu() override;

    /// Consumes the event and does nothing with it.
    bool processInputEvent(Velta::InputEvent& event) override;

    /// The camera of the menu's scene; empty, since it has none.
    virtual CppLib::SharedPtr<Velta::Camera> getCamera();
};

} // namespace Ripplejet
