#include "input/InputProvider.h"

#include "core/VeltaCore.h"
#include "input/InputDevice.h"
#include "input/InputManager.h"

namespace Velta {

InputProvider::InputProvider(int id)
    : mProviderId(id >= 0 ? id : VeltaCore::getSingleton().getInputManager().createProviderId())
{
}

InputProvider::~InputProvider()
{
    if (mInputManager) {
        mInputManager->unregisterInputProvider(*this);
    }
}

void InputProvider::pollEvents(long long) {}

InputDevice* InputProvider::getDevice(int id) const
{
    auto found = mDevices.find(id);
    return found == mDevices.end() ? nullptr : found->second;
}

void InputProvider::registerDevice(InputDevice& device)
{
    mDevices[device.getDeviceId()] = &device;
}

void InputProvider::sendEvent(InputEvent& event)
{
    if (mInputManager) {
        mInputManager->triggerInputEvent(event);
    }
}

} // namespace Velta
