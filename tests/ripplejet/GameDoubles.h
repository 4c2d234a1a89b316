#pragma once

#include "cpplib/SharedPtr.h"
#include "input/InputEvent.h"
#include "ripplejet/Level.h"
#include "ripplejet/Menu.h"

#include <functional>
#include <vector>

namespace Velta {
class Camera;
} // namespace Velta

namespace RipplejetTest {

/// A menu that keeps a copy of every event it is given.
class RecordingMenu : public Ripplejet::Menu {
public:
    bool processInputEvent(Velta::InputEvent& event) override;

    std::vector<Velta::InputEvent> events;
};

/// A level that keeps a copy of every event it is given, loads as told and
/// runs `onUpdate` every frame with the frame's number (from 1) and
/// timestamp. Its camera has render settings of its own.
class RecordingLevel : public Ripplejet::Level {
public:
    RecordingLevel();
    ~RecordingLevel() override;

    bool processInputEvent(Velta::InputEvent& event) override;
    bool load() override { return loads; }
    void start() override { ++starts; }
    CppLib::SharedPtr<Velta::Camera> getCamera() override { return camera; }
    void update(long long timestamp) override;

    bool loads = true;
    int starts = 0;
    int frames = 0;
    std::function<void(int frame, long long timestamp)> onUpdate;
    std::vector<Velta::InputEvent> events;
    CppLib::SharedPtr<Velta::Camera> camera;
};

/// Events as the SDL provider makes them.
Velta::InputEvent keyPress(unsigned short symbol, unsigned short modifiers = 0);
Velta::InputEvent keyRelease(unsigned short symbol, unsigned short modifiers = 0);
Velta::InputEvent pointerAt(float x, float y);
Velta::InputEvent buttonPress(int button);
Velta::InputEvent quitRequest();

} // namespace RipplejetTest
