#pragma once

#include "input/InputEvent.h"

namespace RipplejetTest {

/// Events as the SDL provider makes them.
Velta::InputEvent keyPress(unsigned short symbol, unsigned short modifiers = 0);
Velta::InputEvent keyRelease(unsigned short symbol, unsigned short modifiers = 0);
Velta::InputEvent pointerAt(float x, float y);
Velta::InputEvent buttonPress(int button);
Velta::InputEvent quitRequest();

} // namespace RipplejetTest
