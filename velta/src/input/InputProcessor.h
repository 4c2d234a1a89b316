#pragma once

#include "VeltaExport.h"

namespace Velta {

class InputEvent;
class InputManager;

/// Receives input events from the input manager, in registration order with
/// the other processors, and decides whether the event goes on to them.
///
/// Owned by the application. A registered processor unregisters itself when
/// destroyed, so it may die before or after the core shuts down.
class VELTA_EXPORT InputProcessor {
public:
    /// An `id` below 0 takes the next processor id of the core's input manager
    /// (so the core must be started).
    explicit InputProcessor(int id);
    virtual ~InputProcessor();

    InputProcessor(const InputProcessor&) = delete;
    InputProcessor& operator=(const InputProcessor&) = delete;

    virtual int getProcessorId() const { return mProcessorId; }
    virtual bool isEnabled() const { return mEnabled; }

    /// A disabled processor is skipped by the dispatch.
    virtual void setEnabled(bool enabled) { mEnabled = enabled; }

    /// Handles one event; true consumes it, so no later processor sees it.
    /// The processor may rewrite the event for the ones after it, and may
    /// register or unregister processors (itself included) meanwhile.
    virtual bool processInputEvent(InputEvent& event) = 0;

private:
    friend class InputManager;

    bool mEnabled = true;
    int mProcessorId;
    InputManager* mInputManager = nullptr; ///< the manager it is registered with, or null
};

} // namespace Velta
