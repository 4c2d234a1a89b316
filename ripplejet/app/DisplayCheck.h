#pragma once

#include <string>

struct _XDisplay;

namespace Ripplejet {

/// Asks, before the engine starts, whether the X display the game would
/// open its window on is there, so that a missing one is the first thing
/// the player reads rather than the last of the engine's lines.
///
/// The connection it made stays open until it goes: an X server with no
/// client left starts over, and a window opened while it does so fails.
/// Keep it for as long as the game runs.
class DisplayCheck {
public:
    DisplayCheck() = default;
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    /// Why no window can be opened, as the end of "Ripplejet cannot
    /// start: …"; empty when the display named by DISPLAY accepts a
    /// connection.
    std::string findProblem();

private:
    _XDisplay* mDisplay = nullptr;
};

} // namespace Ripplejet
