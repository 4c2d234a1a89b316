#pragma once

#include "VeltaExport.h"
#include "core/Subsystem.h"

namespace Velta {

/// Subsystem 6: render engines, windows and their render processes.
class VELTA_EXPORT RenderManager : public Subsystem {
public:
    RenderManager();
    ~RenderManager() override;

    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    std::vector<Process*> mProcessList;
};

} // namespace Velta
