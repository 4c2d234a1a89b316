#pragma once

#include "VeltaExport.h"
#include "core/Subsystem.h"

namespace Velta {

/// Subsystem 3: scene graphs and overlays, brought up to date once per frame.
class VELTA_EXPORT SceneManager : public Subsystem {
public:
    SceneManager();
    ~SceneManager() override;

    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    std::vector<Process*> mProcessList;
};

} // namespace Velta
