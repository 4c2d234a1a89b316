#include "core/EventManager.h"
#include "core/Modifier.h"
#include "core/Process.h"
#include "core/ProcessManager.h"
#include "core/Sensor.h"
#include "core/TimerManager.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using CppLib::SharedPtr;
using Velta::LogicElement;
using Velta::Modifier;

namespace {

class RecordingModifier : public Modifier, public Velta::Process {
public:
    RecordingModifier(std::string name, std::vector<std::string>& journal) : mName(std::move(name)), mJournal(journal)
    {
    }

    int run(long long timestamp) override
    {
        mJournal.push_back(mName);
        mLastTimestamp = timestamp;
        if (mOnRun) {
            mOnRun();
        }
        return 0;
    }

    std::string mName;
    std::vector<std::string>& mJournal;
    long long mLastTimestamp = -1;
    std::function<void()> mOnRun;
};

/// Runs and counts, allocating nothing.
class IdleModifier : public Modifier, public Velta::Process {
public:
    int run(long long) override { return ++mRuns; }
    int mRuns = 0;
};

/// A modifier that is not a process: registered, never run.
class PassiveModifier : public Modifier {};

class EventManagerTest : public VeltaTest::CoreFixture {
protected:
    SharedPtr<RecordingModifier> registered(const std::string& name)
    {
        SharedPtr<RecordingModifier> modifier(new RecordingModifier(name, mJournal));
        core().getEventManager().registerModifier(modifier);
        return modifier;
    }

    void frame() { core().getProcessManager().update(true); }

    std::vector<std::string> mJournal;
};

} // namespace

TEST_F(EventManagerTest, ModifiersRunInRegistrationOrderWhileTheirStateIsNotZeroAtTheTurnsTime)
{
    core().setup(true);
    auto a = registered("a");
    auto b = registered("b");
    frame();
    EXPECT_TRUE(mJournal.empty()) << "modifiers are created inactive";

    a->setState(LogicElement::ACTIVE);
    b->setState(LogicElement::IDLE);
    const long long before = core().getTimerManager().getTimestamp();
    frame();
    frame();
    EXPECT_EQ(mJournal, (std::vector<std::string>{"a", "b", "a", "b"}));
    EXPECT_GE(a->mLastTimestamp, before);
    EXPECT_LE(a->mLastTimestamp, core().getTimerManager().getTimestamp());

    mJournal.clear();
    a->setState(LogicElement::INACTIVE);
    frame();
    EXPECT_EQ(mJournal, (std::vector<std::string>{"b"}));
}

TEST_F(EventManagerTest, ARemovedModifierRunsNoMoreAndIsLetGoOfWhileTheOthersKeepTheirOrder)
{
    core().setup(true);
    auto a = registered("a");
    auto b = registered("b");
    auto c = registered("c");
    for (auto* m : {a.get(), b.get(), c.get()}) {
        m->setState(LogicElement::ACTIVE);
    }
    EXPECT_GT(b.getUseCount(), 1u);
    EXPECT_TRUE(core().getEventManager().removeModifier(*b));
    EXPECT_EQ(b.getUseCount(), 1u) << "the event manager keeps no copy";
    EXPECT_FALSE(core().getEventManager().removeModifier(*b));
    frame();
    EXPECT_EQ(mJournal, (std::vector<std::string>{"a", "c"}));
}

TEST_F(EventManagerTest, AModifierRegisteredDuringAFrameRunsInThatFrame)
{
    auto spawner = registered("spawner");
    SharedPtr<RecordingModifier> spawned;
    spawner->mOnRun = [&] {
        if (spawned.isNull()) {
            spawned = registered("spawned");
            spawned->setState(LogicElement::ACTIVE);
        }
    };
    spawner->setState(LogicElement::ACTIVE);
    frame();
    frame();
    EXPECT_EQ(mJournal, (std::vector<std::string>{"spawner", "spawned", "spawner", "spawned"}));
}

TEST_F(EventManagerTest, TheEventManagerKeepsRegisteredModifiersAndIgnoresNonProcesses)
{
    SharedPtr<PassiveModifier> passive(new PassiveModifier());
    passive->setState(LogicElement::ACTIVE);
    core().getEventManager().registerModifier(passive);
    core().getEventManager().registerModifier(SharedPtr<Modifier>());
    EXPECT_EQ(passive.getUseCount(), 3u) << "one share in the map, one in the adapter";
    frame();

    SharedPtr<Velta::Sensor> sensor(new Velta::Sensor());
    core().getEventManager().registerSensor(sensor);
    EXPECT_EQ(sensor.getUseCount(), 1u) << "sensors are accepted and not kept";
}

TEST_F(EventManagerTest, ElementsMayOutliveTheCore)
{
    SharedPtr<RecordingModifier> survivor = registered("survivor");
    core().shutdown();
    survivor.setNull();
    core().startup();
}

using FrameAllocation = VeltaTest::SetUpCoreFixture;

TEST_F(FrameAllocation, AFrameWithNothingToDoAllocatesNothing)
{
    SharedPtr<IdleModifier> modifier(new IdleModifier());
    modifier->setState(LogicElement::ACTIVE);
    core().getEventManager().registerModifier(modifier);
    core().getProcessManager().update(true); // settle anything done once

    VeltaTest::AllocationCounter allocations;
    for (int frame = 0; frame < 100; ++frame) {
        core().getProcessManager().update(true);
    }
    EXPECT_EQ(allocations.getCount(), 0u);
    EXPECT_EQ(modifier->mRuns, 101);
}
