#include "core/LogicElement.h"

#include "core/EventManager.h"
#include "core/VeltaCore.h"

namespace Velta {

LogicElement::LogicElement() : mElementId(VeltaCore::getSingleton().getEventManager().createElementId()) {}

LogicElement::~LogicElement()
{
    // The host may drop its last share after the core has shut down.
    if (EventManager* events = VeltaCore::findEventManager()) {
        events->returnElementId(mElementId);
    }
}

} // namespace Velta
