#include "core/Process.h"
#include "core/ProcessManager.h"
#include "core/Subsystem.h"
#include "core/TimerManager.h"
#include "support/CoreFixture.h"
#include "support/ManualClock.h"

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

TEST_F(ProcessManagerTest, UpdatesSubsystemsInOrderWithOneTimestampReadEach)
{
    TestSubsystem first(mManager.createSubsystemId());
    TestSubsystem second(mManager.createSubsystemId());
    EXPECT_EQ(first.getSubsystemId(), 100);
    EXPECT_EQ(second.getSubsystemId(), 101);
    RecordingProcess a("a", mJournal), b("b", mJournal), c("c", mJournal);
    first.mProcesses = {&a, &b};
    second.mProcesses = {&c};
    EXPECT_EQ(mManager.registerSubsystem(first, -1), 0);
    EXPECT_EQ(mManager.registerSubsystem(second, -1), 1);

    EXPECT_EQ(mManager.update(true), 0);
    EXPECT_EQ(mJournal, (Journal{{"a", 1000}, {"b", 1000}, {"c", 1001}}));
    EXPECT_EQ(mClock.getReads(), 2);
}

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

TEST_F(ProcessManagerTest, UpdateModesChooseTheDriverAndProcessModesSilenceSubsystems)
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
        subsystems.emplace_back(100 + static_cast<int>(subsystems.size()));
        subsystems.back().mProcesses = {&processes.back()};
        subsystems.back().setUpdateMode(kind.update);
        subsystems.back().setProcessMode(kind.process);
        subsystems.back().setEnabled(kind.enabled);
        mManager.registerSubsystem(subsystems.back(), -1);
    }

    mManager.update(true);
    EXPECT_EQ(names(mJournal), (std::vector<std::string>{"frame", "default"}));
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
