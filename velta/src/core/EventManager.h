#pragma once

#include "VeltaExport.h"
#include "core/Process.h"
#include "core/Subsystem.h"
#include "cpplib/IdMap.h"
#include "cpplib/SharedPtr.h"

#include <vector>

namespace Velta {

class Controller;
class LogicElement;
class Modifier;
class Sensor;

/// Subsystem 2: runs the registered modifiers once per frame, in registration
/// order, while their state is not 0. Hands out logic element ids (101, 102, …,
/// never reused). Registered modifiers stay until they are removed or the
/// event manager goes.
class VELTA_EXPORT EventManager : public Subsystem {
public:
    /// Runs one logic element while its state is not 0 and it is a Process.
    class VELTA_EXPORT ElementAdapter : public Process {
    public:
        explicit ElementAdapter(const CppLib::SharedPtr<LogicElement>& element);
        int run(long long timestamp) override;
        const LogicElement* getElement() const { return mElement.get(); }

    private:
        CppLib::SharedPtr<LogicElement> mElement;
        Process* mProcess;
    };

    EventManager();
    ~EventManager() override;

    unsigned int createElementId();
    void returnElementId(unsigned int id);

    void registerModifier(const CppLib::SharedPtr<Modifier>& modifier);

    /// Runs the modifier no more and lets go of it, so that what it moves may
    /// go. False for one not registered. Between frames only, not from a
    /// running modifier.
    bool removeModifier(const Modifier& modifier);

    /// Accepted and not kept.
    void registerSensor(const CppLib::SharedPtr<Sensor>& sensor);
    void registerController(const CppLib::SharedPtr<Controller>& controller);

    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    std::vector<Process*> mProcessList;
    CppLib::IdMap<CppLib::SharedPtr<LogicElement>, unsigned int> mElements;
};

} // namespace Velta
