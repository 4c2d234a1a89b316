#pragma once

#include "VeltaExport.h"

#include <map>

namespace Velta {

class InputDevice;
class InputEvent;
class InputManager;

/// Turns a platform's input into InputEvents and sends them to the input
/// manager's processors, usually from pollEvents(), which the manager's
/// polling process calls once per frame while the provider is enabled and
/// needs polling.
///
/// Owned by whoever created it (a plug-in for the built-in ones). A
/// registered provider unregisters itself when destroyed; it must not be
/// destroyed while its own pollEvents() runs.
class VELTA_EXPORT InputProvider {
public:
    /// An `id` below 0 takes the next provider id of the core's input manager
    /// (so the core must be started).
    explicit InputProvider(int id);
    virtual ~InputProvider();

    InputProvider(const InputProvider&) = delete;
    InputProvider& operator=(const InputProvider&) = delete;

    virtual int getProviderId() const { return mProviderId; }
    virtual bool isEnabled() const { return mEnabled; }
    virtual void setEnabled(bool enabled) { mEnabled = enabled; }

    /// Whether the polling process should call pollEvents() every frame.
    virtual bool needsPolling() const = 0;

    /// Sends the events that arrived since the last poll, each stamped with
    /// `timestamp` (the frame's, in milliseconds). Does nothing here.
    virtual void pollEvents(long long timestamp);

    /// The devices this provider offers, by device id (not owned by the caller).
    virtual std::map<int, InputDevice*> getProvidedDevices() const { return mDevices; }

    /// The device with that id, or null.
    virtual InputDevice* getDevice(int id) const;

    /// Whether the provider is registered with an input manager, so that its
    /// events reach processors.
    bool isRegistered() const { return mInputManager != nullptr; }

protected:
    /// Offers `device` under its device id; the provider keeps it alive.
    void registerDevice(InputDevice& device);

    /// Offers `event` to the processors of the manager this provider is
    /// registered with; an unregistered provider's events are dropped.
    void sendEvent(InputEvent& event);

private:
    friend class InputManager;

    bool mEnabled = true;
    int mProviderId;
    std::map<int, InputDevice*> mDevices;
    InputManager* mInputManager = nullptr; ///< the manager it is registered with, or null
};

} // namespace Velta
