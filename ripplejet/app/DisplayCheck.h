#pragma once

#include <string>

namespace Ripplejet {

/// Asks, before the engine starts, whether the X display the game would
/// open its window on is there, so that a missing one is the first thing
/// the player reads rather than the last of the engine's lines.
class DisplayCheck {
public:
    /// Why no window can be opened, as the end of "Ripplejet cannot
    /// start: …"; empty when the display named by DISPLAY accepts a
    /// connection.
    static std::string findProblem();
};

} // namespace Ripplejet
