#include "input/InputProcessor.h"

#include "core/VeltaCore.h"
#include "input/InputManager.h"

namespace Velta {

InputProcessor::InputProcessor(int id)
    : mProcessorId(id >= 0 ? id : VeltaCore::getSingleton().getInputManager().createProcessorId())
{
}

InputProcessor::~InputProcessor()
{
    if (mInputManager) {
        mInputManager->unregisterInputProcessor(*this);
    }
}

} // namespace Velta
