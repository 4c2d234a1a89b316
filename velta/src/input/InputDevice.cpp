#include "input/InputDevice.h"

#include "core/VeltaCore.h"
#include "input/InputManager.h"

namespace Velta {

InputDevice::InputDevice(DeviceClass deviceClass, int nr, int id)
    : mDeviceClass(deviceClass),
      mDeviceNr(nr),
      mDeviceId(id >= 0 ? id : VeltaCore::getSingleton().getInputManager().createDeviceId())
{
}

InputDevice::~InputDevice() = default;

} // namespace Velta
