#pragma once

#include "VeltaExport.h"

#include <vector>

namespace Velta {

class Process;

/// A manager whose processes the process manager runs every frame.
class VELTA_EXPORT Subsystem {
public:
    /// Which driver of the process manager updates the subsystem.
    enum UpdateMode {
        UPDATE_NEVER = 0,
        UPDATE_DEFAULT = 1, ///< update(true) while the run loop is idle, and the run loop
        UPDATE_FRAME = 2,   ///< update(true) only
        UPDATE_LOOP = 3     ///< the run loop only
    };

    /// Whether an update runs the subsystem's processes: 0 and 1 run them,
    /// any other value runs nothing.
    enum ProcessMode {
        PROCESS_ALL = 0,
        PROCESS_DEFAULT = 1,
        PROCESS_NONE = 2
    };

    virtual ~Subsystem() = default;

    virtual void setEnabled(bool enabled) { mEnabled = enabled; }
    virtual bool isEnabled() const { return mEnabled; }
    virtual void setUpdateMode(UpdateMode mode) { mUpdateMode = mode; }
    virtual UpdateMode getUpdateMode() const { return mUpdateMode; }
    virtual void setProcessMode(ProcessMode mode) { mProcessMode = mode; }
    virtual ProcessMode getProcessMode() const { return mProcessMode; }

    /// The processes run for this subsystem, in order; never null for the
    /// engine's managers.
    virtual std::vector<Process*>* getProcessList() = 0;

    int getSubsystemId() const { return mSubsystemId; }

protected:
    void setSubsystemId(int id) { mSubsystemId = id; }

private:
    int mSubsystemId = 0;
    bool mEnabled = true;
    UpdateMode mUpdateMode = UPDATE_DEFAULT;
    ProcessMode mProcessMode = PROCESS_DEFAULT;
};

} // namespace Velta
