#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A physical or logical source of input that a provider can name in its
/// events (InputEvent::getInputDevice()). Owned by the provider that offers it.
class VELTA_EXPORT InputDevice {
public:
    enum DeviceClass {
        DEVICE_UNKNOWN = 0,
        DEVICE_KEYBOARD = 1,
        DEVICE_POINTER = 2,
        DEVICE_JOYSTICK = 3
    };

    /// `nr` counts devices of one class from 0. An `id` below 0 takes the next
    /// device id of the core's input manager (so the core must be started).
    /// A device starts enabled.
    InputDevice(DeviceClass deviceClass, int nr, int id);
    virtual ~InputDevice();

    virtual int getDeviceId() const { return mDeviceId; }
    virtual DeviceClass getDeviceClass() const { return mDeviceClass; }
    virtual int getDeviceNr() const { return mDeviceNr; }
    virtual bool isEnabled() const { return mEnabled; }
    virtual void setEnabled(bool enabled) { mEnabled = enabled; }

private:
    bool mEnabled = true;
    DeviceClass mDeviceClass;
    int mDeviceNr;
    int mDeviceId;
};

} // namespace Velta
