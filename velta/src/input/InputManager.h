#pragma once

#include "VeltaExport.h"
#include "core/Subsystem.h"

namespace Velta {

/// Subsystem 1: polls the input providers and offers their events to the input processors.
class VELTA_EXPORT InputManager : public Subsystem {
public:
    InputManager();
    ~InputManager() override;

    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    std::vector<Process*> mProcessList;
};

} // namespace Velta
