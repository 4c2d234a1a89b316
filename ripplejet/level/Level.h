#pragma once

#include "cpplib/SharedPtr.h"
#include "input/InputProcessor.h"

#include <string>

namespace Velta {
class Camera;
class InputEvent;
} // namespace Velta

namespace Ripplejet {

/// A playable level as the window manager drives it: loaded once, started
/// once, updated every frame with the frame's timestamp, and handed the
/// input events the window manager does not keep (pointer moves already
/// turned into unbounded positions, see WindowManager).
///
/// Made by the level manager; the application owns it. It is never
/// registered with the input manager itself: the window manager forwards to it.
class Level : public Velta::InputProcessor {
public:
    /// What a level says about itself; nothing fills it yet.
    struct LevelInfo {
        std::string name;
        std::string description;
    };

    /// Needs a started engine core (the processor id comes from its input
    /// manager).
    Level();
    ~Level() override;

    /// Consumes every event it is given; what it does with them is the
    /// level's.
    bool processInputEvent(Velta::InputEvent& event) override = 0;

    virtual LevelInfo& getLevelInfo() { return mLevelInfo; }

    /// Builds the level's scene; false when it cannot be played. Loading
    /// again after a success changes nothing and answers true.
    virtual bool load() = 0;

    /// Called once after a successful load, before the first frame that
    /// shows the level.
    virtual void start() = 0;

    /// The camera the level is seen through; empty before load().
    virtual CppLib::SharedPtr<Velta::Camera> getCamera() = 0;

    /// Called at the start of every frame, loaded or not, with the frame's
    /// timestamp (milliseconds), before the engine runs its subsystems.
    virtual void update(long long timestamp);

    /// Told by whatever decides the race that it is over; the base ignores it.
    virtual void raceOver(bool won);

private:
    LevelInfo mLevelInfo;
};

} // namespace Ripplejet
