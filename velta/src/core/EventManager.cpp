#include "core/EventManager.h"

#include "core/Controller.h"
#include "core/LogicElement.h"
#include "core/Modifier.h"
#include "core/Sensor.h"

namespace Velta {

EventManager::ElementAdapter::ElementAdapter(const CppLib::SharedPtr<LogicElement>& element)
    : mElement(element), mProcess(dynamic_cast<Process*>(element.get()))
{
}

int EventManager::ElementAdapter::run(long long timestamp)
{
    if (!mProcess || mElement->getState() == LogicElement::INACTIVE) {
        return 0;
    }
    return mProcess->run(timestamp);
}

EventManager::EventManager()
{
    setSubsystemId(2);
}

EventManager::~EventManager()
{
    for (Process* adapter : mProcessList) {
        delete adapter;
    }
}

unsigned int EventManager::createElementId()
{
    return mElements.createId();
}

void EventManager::returnElementId(unsigned int id)
{
    mElements.returnId(id);
}

void EventManager::registerModifier(const CppLib::SharedPtr<Modifier>& modifier)
{
    if (modifier.isNull()) {
        return;
    }
    CppLib::SharedPtr<LogicElement> element(modifier);
    mElements.put(element->getElementId(), element);
    mProcessList.push_back(new ElementAdapter(element));
}

bool EventManager::removeModifier(const Modifier& modifier)
{
    const LogicElement* element = &modifier;
    for (auto it = mProcessList.begin(); it != mProcessList.end(); ++it) {
        auto* adapter = static_cast<ElementAdapter*>(*it);
        if (adapter->getElement() == element) {
            mElements.remove(element->getElementId());
            mProcessList.erase(it);
            delete adapter;
            return true;
        }
    }
    return false;
}

void EventManager::registerSensor(const CppLib::SharedPtr<Sensor>&) {}

void EventManager::registerController(const CppLib::SharedPtr<Controller>&) {}

} // namespace Velta
