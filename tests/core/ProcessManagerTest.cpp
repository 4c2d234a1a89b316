#include "core/Process.h"
#include "core/ProcessManager.h"
#include "core/Subsystem.h"
#include "core/TimerManager.h"
#include "support/CoreFixture.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    EXPECT_EQ(mManager.registerSubsystemBefore(negative, 1), 0);
    EXPECT_EQ(mManager.getSubsystemCount(), 0u);
}

TEST_F(ProcessManagerTest, UpdateModesChooseTheDriverAndProcessModesSilenceSubsystems)
{
    TestSubsystem frameOnly(100), loopOnly(101), never(102), silent(103), disabled(104);
    RecordingProcess f("frame", mJournal), l("loop", mJournal), n("never", mJournal), s("silent", mJournal),
        d("disabled", mJournal);
    frameOnly.mProcesses = {&f};
    loopOnly.mProcesses = {&l};
    never.mProcesses = {&n};
    silent.mProcesses = {&s};
    disabled.mProcesses = {&d};
    frameOnly.setUpdateMode(Subsystem::UPDATE_FRAME);
    loopOnly.setUpdateMode(Subsystem::UPDATE_LOOP);
    never.setUpdateMode(Subsystem::UPDATE_NEVER);
    silent.setProcessMode(Subsystem::PROCESS_NONE);
    disabled.setEnabled(false);
    for (Subsystem* subsystem : {static_cast<Subsystem*>(&frameOnly), static_cast<Subsystem*>(&loopOnly),
                                 static_cast<Subsystem*>(&never), static_cast<Subsystem*>(&silent),
                                 static_cast<Subsystem*>(&disabled)}) {
        mManager.registerSubsystem(*subsystem, -1);
    }

    mManager.update(true);
    EXPECT_EQ(mJournal.size(), 1u);
    EXPECT_EQ(mJournal.at(0).first, "frame");
    EXPECT_EQ(mClock.getReads(), 2) << "the silent subsystem is visited, the disabled one is not";

    mJournal.clear();
    l.mOnRun = [this] { EXPECT_EQ(mManager.stop(true), -1); EXPECT_EQ(mManager.stop(false), 0); };
    EXPECT_EQ(mManager.run(true), 0);
    EXPECT_EQ(mJournal.size(), 1u);
    EXPECT_EQ(mJournal.at(0).first, "loop");
    EXPECT_FALSE(mManager.isRunning());
}

TEST_F(ProcessManagerTest, RunLoopUpdatesDefaultSubsystemsUntilStopped)
{
    TestSubsystem subsystem(100);
    RecordingProcess p("p", mJournal);
    int passes = 0;
    p.mOnRun = [&] {
        EXPECT_TRUE(mManager.isRunning());
        if (++passes == 3) {
            mManager.stop(false);
        }
    };
    subsystem.mProcesses = {&p};
    mManager.registerSubsystem(subsystem, -1);
    EXPECT_EQ(mManager.run(true), 0);
    EXPECT_EQ(passes, 3);
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
    std::vector<std::string> ran;
    for (const auto& entry : mJournal) {
        ran.push_back(entry.first);
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "added"}));
    EXPECT_EQ(list, (std::vector<Process*>{&second, &added}));
}
