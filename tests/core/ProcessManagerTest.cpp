#include "core/Process.h"
#include "core/ProcessManager.h"
#include "core/Subsystem.h"
#include "core/TimerManager.h"
#include "support/CoreFixture.h"
#include "testkit/ManualClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using Velta::Process;
using Velta::ProcessManager;
using Velta::Subsystem;
using VeltaTest::ManualClock;

namespace {

using Journal = std::vector<std::pair<std::string, long long>>;

class RecordingProcess : public Process {
public:
    RecordingProcess(std::string name, Journal& journal) : mName(std::move(name)), mJournal(journal) {}

    int run(long long timestamp) override
    {
        mJournal.emplace_back(mName, timestamp);
        if (mOnRun) {
            mOnRun();
        }
        return 0;
    }

    std::string mName;
    Journal& mJournal;
    std::function<void()> mOnRun;
};

std::vector<std::string> names(const Journal& journal)
{
    std::vector<std::string> result;
    for (const auto& entry : journal) {
        result.push_back(entry.first);
    }
    return result;
}

class TestSubsystem : public Subsystem {
public:
    explicit TestSubsystem(int id) { setSubsystemId(id); }
    std::vector<Process*>* getProcessList() override { return &mProcesses; }
    std::vector<Process*> mProcesses;
};

class ProcessManagerTest : public VeltaTest::CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        mClock.setStepPerRead(1);
        core().getTimerManager().registerTimerPlugin(mClock);
    }

    /// A process manager of its own, so that the core's managers stay out of
    /// the way.
    ProcessManager mManager;
    ManualClock mClock; // answers 1000, 1001, … and counts its reads
    Journal mJournal;
};

} // namespace

TEST_F(ProcessManagerTest, FailureStatusesAndLookupsOfUnknownSubsystems)
{
    TestSubsystem negative(-5);
    EXPECT_EQ(mManager.registerSubsystem(negative, -1), -1);
    EXPECT_EQ(mManager.getSubsystemCount(), 0u);
    EXPECT_EQ(mManager.update(false), -1);
    EXPECT_EQ(mManager.updateSubsystem(1, false), -1);
    EXPECT_EQ(mManager.run(false), -1);
    EXPECT_EQ(mManager.getSubsystemPos(42), -1);
    EXPECT_EQ(mManager.getSubsystem(42), nullptr);
    EXPECT_EQ(mManager.getSubsystemByPos(0), nullptr);
    EXPECT_EQ(mManager.getSubsystemByPos(-1), nullptr);
    EXPECT_EQ(mManager.stop(false), 0) << "stopping an idle manager is a harmless no-op";
    EXPECT_EQ(mManager.stop(true), 0);
}

TEST_F(ProcessManagerTest, SubsystemsRunInOrderWithOneTimestampReadEachAsTheirModesAllow)
{
    const struct {
        const char* name;
        Subsystem::UpdateMode update;
        Subsystem::ProcessMode process;
        bool enabled;
    } kinds[] = {{"frame", Subsystem::UPDATE_FRAME, Subsystem::PROCESS_DEFAULT, true},
                 {"loop", Subsystem::UPDATE_LOOP, Subsystem::PROCESS_DEFAULT, true},
                 {"default", Subsystem::UPDATE_DEFAULT, Subsystem::PROCESS_DEFAULT, true},
                 {"never", Subsystem::UPDATE_NEVER, Subsystem::PROCESS_DEFAULT, true},
                 {"silent", Subsystem::UPDATE_DEFAULT, Subsystem::PROCESS_NONE, true},
                 {"disabled", Subsystem::UPDATE_DEFAULT, Subsystem::PROCESS_DEFAULT, false}};
    std::deque<RecordingProcess> processes;
    std::deque<TestSubsystem> subsystems;
    for (const auto& kind : kinds) {
        processes.emplace_back(kind.name, mJournal);
        subsystems.emplace_back(mManager.createSubsystemId());
        subsystems.back().mProcesses = {&processes.back()};
        subsystems.back().setUpdateMode(kind.update);
        subsystems.back().setProcessMode(kind.process);
        subsystems.back().setEnabled(kind.enabled);
        EXPECT_EQ(mManager.registerSubsystem(subsystems.back(), -1), static_cast<int>(subsystems.size()) - 1);
    }
    EXPECT_EQ(subsystems.front().getSubsystemId(), 100) << "clear of the core's own subsystem ids";
    RecordingProcess second("second", mJournal);
    subsystems.front().mProcesses.push_back(&second);

    EXPECT_EQ(mManager.update(true), 0);
    EXPECT_EQ(mJournal, (Journal{{"frame", 1000}, {"second", 1000}, {"default", 1001}}));
    EXPECT_EQ(mClock.getReads(), 3) << "the silent subsystem is visited, the disabled one is not";

    mJournal.clear();
    int passes = 0;
    processes[1].mOnRun = [&] {
        EXPECT_TRUE(mManager.isRunning());
        EXPECT_EQ(mManager.stop(true), -1) << "a forced stop is refused";
        if (++passes == 3) {
            EXPECT_EQ(mManager.stop(false), 0);
        }
    };
    EXPECT_EQ(mManager.run(true), 0);
    EXPECT_EQ(names(mJournal), (std::vector<std::string>{"loop", "default", "loop", "default", "loop", "default"}));
    EXPECT_FALSE(mManager.isRunning());
}

TEST_F(ProcessManagerTest, ProcessesAddedOrRemovedDuringAnUpdateRunOnceAndSkipNobody)
{
    TestSubsystem subsystem(100);
    RecordingProcess first("first", mJournal), second("second", mJournal), third("third", mJournal),
        added("added", mJournal);
    auto& list = subsystem.mProcesses;
    list = {&first, &second, &third};
    // "first" removes itself and adds a newcomer; "second" removes "third".
    first.mOnRun = [&] {
        list.erase(std::find(list.begin(), list.end(), &first));
        list.push_back(&added);
    };
    second.mOnRun = [&] { list.erase(std::find(list.begin(), list.end(), &third)); };
    mManager.registerSubsystem(subsystem, -1);

    mManager.update(true);
    EXPECT_EQ(names(mJournal), (std::vector<std::string>{"first", "second", "added"}));
    EXPECT_EQ(list, (std::vector<Process*>{&second, &added}));
}
