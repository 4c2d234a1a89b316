#pragma once

#include "VeltaExport.h"
#include "input/InputProvider.h"

namespace Velta {

/// Keyboard, pointer and window-system input from SDL's event queue, drained
/// once per frame. The queue exists while SDL's video subsystem is open (the
/// render window opens it); until then a poll finds nothing.
///
/// Events are sent with window id -1 and no device; SDL events the engine has
/// no type for (joystick, user and window-manager events) are taken from the
/// queue and dropped. Owned by the SDL plug-in.
class VELTA_EXPORT SDLInputProvider : public InputProvider {
public:
    SDLInputProvider();
    ~SDLInputProvider() override;

    bool needsPolling() const override { return true; }

    /// Sends every pending SDL event, each stamped with `timestamp`. Stops
    /// early, leaving the rest queued, when a processor disables or
    /// unregisters this provider.
    void pollEvents(long long timestamp) override;
};

} // namespace Velta
