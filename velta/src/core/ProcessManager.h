#pragma once

#include "VeltaExport.h"

#include <cstddef>
#include <map>
#include <vector>

namespace Velta {

class Process;
class Subsystem;

/// Drives the per-frame work: each update walks the registered subsystems in
/// registration order and runs each one's processes with one timestamp read
/// for that subsystem.
///
/// The host either calls update(true) once per frame or hands control to
/// run(true), which loops until stop(false). Failures answer −1.
class VELTA_EXPORT ProcessManager {
public:
    ProcessManager();
    ~ProcessManager();

    /// 100, 101, … for subsystems other than the engine's managers.
    int createSubsystemId();

    /// Appends the subsystem to the update order whatever `position` says
    /// (the engine always appends); answers the position it got, or −1 for a
    /// negative subsystem id.
    int registerSubsystem(Subsystem& subsystem, int position);

    /// Registration relative to another subsystem is not supported: answers 0
    /// and registers nothing.
    int registerSubsystemBefore(Subsystem& subsystem, int id);
    int registerSubsystemAfter(Subsystem& subsystem, int id);

    /// Null when no subsystem has that id, or when `position` lies outside the
    /// update order.
    Subsystem* getSubsystem(int id) const;
    Subsystem* getSubsystemByPos(int position) const;

    /// First position of `id` in the update order, or −1.
    int getSubsystemPos(int id) const;
    unsigned int getSubsystemCount() const;

    /// One frame; false answers −1 and does nothing. Allocates nothing.
    int update(bool enabled);

    /// Updates one subsystem; false answers −1.
    int updateSubsystem(int id, bool enabled);

    /// Loops until stop(false) is called; false answers −1 at once.
    int run(bool enabled);

    /// Ends run() after the current pass. Stopping a manager that is not
    /// running is a harmless no-op and answers 0; `force` is not supported
    /// while running and answers −1.
    int stop(bool force);

    bool isRunning() const { return mRunning; }

private:
    bool isUpdatedBy(const Subsystem& subsystem, bool runLoop) const;
    void updateOne(Subsystem& subsystem);
    static std::size_t nextPosition(const std::vector<Process*>& processes, std::size_t position, const Process* current);

    bool mRunning = false;
    bool mStopRequested = false;
    int mNextSubsystemId = 100;
    std::map<int, Subsystem*> mSubsystems;
    std::vector<int> mUpdateOrder;
};

} // namespace Velta
