#include "core/ProcessManager.h"

#include "core/Process.h"
#include "core/Subsystem.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"

#include <cstddef>

namespace Velta {

ProcessManager::ProcessManager() = default;

ProcessManager::~ProcessManager()
{
    if (mRunning) {
        mStopRequested = true;
    }
}

int ProcessManager::createSubsystemId()
{
    return mNextSubsystemId++;
}

int ProcessManager::registerSubsystem(Subsystem& subsystem, int)
{
    const int id = subsystem.getSubsystemId();
    if (id < 0) {
        return -1;
    }
    mSubsystems.emplace(id, &subsystem);
    mUpdateOrder.push_back(id);
    return static_cast<int>(mUpdateOrder.size()) - 1;
}

int ProcessManager::registerSubsystemBefore(Subsystem&, int)
{
    return 0;
}

int ProcessManager::registerSubsystemAfter(Subsystem&, int)
{
    return 0;
}

Subsystem* ProcessManager::getSubsystem(int id) const
{
    auto found = mSubsystems.find(id);
    return found == mSubsystems.end() ? nullptr : found->second;
}

Subsystem* ProcessManager::getSubsystemByPos(int position) const
{
    if (position < 0 || static_cast<std::size_t>(position) >= mUpdateOrder.size()) {
        return nullptr;
    }
    return getSubsystem(mUpdateOrder[position]);
}

int ProcessManager::getSubsystemPos(int id) const
{
    for (std::size_t position = 0; position < mUpdateOrder.size(); ++position) {
        if (mUpdateOrder[position] == id) {
            return static_cast<int>(position);
        }
    }
    return -1;
}

unsigned int ProcessManager::getSubsystemCount() const
{
    return static_cast<unsigned int>(mSubsystems.size());
}

int ProcessManager::update(bool enabled)
{
    if (!enabled) {
        return -1;
    }
    // Index loop: a process may register a further subsystem while we walk.
    for (std::size_t position = 0; position < mUpdateOrder.size(); ++position) {
        Subsystem* subsystem = getSubsystem(mUpdateOrder[position]);
        if (subsystem && subsystem->isEnabled() && isUpdatedBy(*subsystem, false)) {
            updateOne(*subsystem);
        }
    }
    return 0;
}

int ProcessManager::updateSubsystem(int id, bool enabled)
{
    if (!enabled) {
        return -1;
    }
    if (Subsystem* subsystem = getSubsystem(id)) {
        updateOne(*subsystem);
    }
    return 0;
}

int ProcessManager::run(bool enabled)
{
    if (!enabled) {
        return -1;
    }
    mRunning = true;
    mStopRequested = false;
    while (!mStopRequested) {
        for (std::size_t position = 0; position < mUpdateOrder.size(); ++position) {
            Subsystem* subsystem = getSubsystem(mUpdateOrder[position]);
            if (subsystem && subsystem->isEnabled() && isUpdatedBy(*subsystem, true)) {
                updateOne(*subsystem);
            }
        }
    }
    mRunning = false;
    mStopRequested = false;
    return 0;
}

int ProcessManager::stop(bool force)
{
    if (!mRunning) {
        return 0;
    }
    if (force) {
        return -1;
    }
    mStopRequested = true;
    return 0;
}

bool ProcessManager::isUpdatedBy(const Subsystem& subsystem, bool runLoop) const
{
    switch (subsystem.getUpdateMode()) {
    case Subsystem::UPDATE_DEFAULT:
        return runLoop || !mRunning;
    case Subsystem::UPDATE_FRAME:
        return !runLoop;
    case Subsystem::UPDATE_LOOP:
        return runLoop;
    default:
        return false;
    }
}

void ProcessManager::updateOne(Subsystem& subsystem)
{
    std::vector<Process*>* processes = subsystem.getProcessList();
    if (!processes) {
        return;
    }
    const Subsystem::ProcessMode mode = subsystem.getProcessMode();
    const long long timestamp = VeltaCore::getSingleton().getTimerManager().getTimestamp();
    if (mode != Subsystem::PROCESS_ALL && mode != Subsystem::PROCESS_DEFAULT) {
        return;
    }
    // A process may add processes to the list (a modifier registered during
    // the frame: it runs in this pass) or remove some (itself included), so
    // the walk goes on after wherever the process just run now stands.
    std::size_t i = 0;
    while (i < processes->size()) {
        Process* current = (*processes)[i];
        current->run(timestamp);
        i = nextPosition(*processes, i, current);
    }
}

std::size_t ProcessManager::nextPosition(const std::vector<Process*>& processes, std::size_t position, const Process* current)
{
    if (position < processes.size() && processes[position] == current) {
        return position + 1;
    }
    for (std::size_t moved = 0; moved < processes.size(); ++moved) {
        if (processes[moved] == current) {
            return moved + 1;
        }
    }
    // `current` removed itself: its successor has moved into its place.
    return position;
}

} // namespace Velta
