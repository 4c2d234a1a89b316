#include "core/ProcessManager.h"
#include "input/InputEvent.h"
#include "input/InputManager.h"
#include "input/InputProcessor.h"
#include "input/InputProvider.h"
#include "input/KeyEventInfo.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using Velta::InputEvent;
using Journal = std::vector<std::string>;

namespace {

/// Writes its name into a shared journal for every event it is offered.
class RecordingProcessor : public Velta::InputProcessor {
public:
    RecordingProcessor(std::string name, Journal& journal, bool consumes = false)
        : InputProcessor(-1), mName(std::move(name)), mJournal(journal), mConsumes(consumes)
    {
    }

    bool processInputEvent(InputEvent& event) override
    {
        const bool consumes = mConsumes; // the hook may delete this processor
        mJournal.push_back(mName);
        if (auto onEvent = mOnEvent) {
            onEvent(event);
        }
        return consumes;
    }

    std::string mName;
    Journal& mJournal;
    bool mConsumes;
    std::function<void(InputEvent&)> mOnEvent;
};

/// Sends one event per poll and remembers the timestamps it was polled with.
class CountingProvider : public Velta::InputProvider {
public:
    explicit CountingProvider(int id = -1, bool polled = true) : InputProvider(id), mPolled(polled) {}
    bool needsPolling() const override { return mPolled; }

    void pollEvents(long long timestamp) override
    {
        mTimestamps.push_back(timestamp);
        InputEvent event(timestamp);
        sendEvent(event);
    }

    bool mPolled;
    std::vector<long long> mTimestamps;
};

class InputManagerTest : public VeltaTest::CoreFixture {
protected:
    Velta::InputManager& input() { return core().getInputManager(); }
    void frame() { core().getProcessManager().update(true); }

    void trigger()
    {
        InputEvent event(0);
        input().triggerInputEvent(event);
    }

    Journal mJournal;
};

} // namespace

TEST_F(InputManagerTest, OffersEventsInRegistrationOrderUntilOneConsumesThem)
{
    RecordingProcessor a("a", mJournal);
    RecordingProcessor off("off", mJournal, true);
    RecordingProcessor b("b", mJournal, true);
    RecordingProcessor c("c", mJournal);
    off.setEnabled(false);
    for (RecordingProcessor* processor : {&a, &off, &b, &c}) {
        EXPECT_TRUE(input().registerInputProcessor(*processor));
    }
    // The first one rewrites the event; the next one sees the rewrite.
    a.mOnEvent = [](InputEvent& event) {
        event.setEventType(InputEvent::EVENT_KEY, *new Velta::KeyEventInfo(Velta::KeyEventInfo::KEY_RELEASED, 2, 3, 4));
    };
    unsigned short seenByB = 0;
    b.mOnEvent = [&seenByB](InputEvent& event) { seenByB = event.getKeyEventInfo()->getKeySymbol(); };

    trigger();
    EXPECT_EQ(mJournal, (Journal{"a", "b"}));
    EXPECT_EQ(seenByB, 3);
}

TEST_F(InputManagerTest, PollsEachRegisteredProviderOncePerFrameAndRefusesATakenId)
{
    CountingProvider provider(5);
    CountingProvider impostor(5);
    CountingProvider idle(-1, false);
    CountingProvider disabled;
    disabled.setEnabled(false);
    RecordingProcessor processor("p", mJournal);
    input().registerInputProcessor(processor);
    for (CountingProvider* each : {&provider, &idle, &disabled, &provider}) {
        EXPECT_TRUE(input().registerInputProvider(*each));
    }
    EXPECT_FALSE(input().registerInputProvider(impostor));
    EXPECT_FALSE(input().unregisterInputProvider(impostor));
    EXPECT_EQ(input().getProcessList()->size(), 3u);

    frame();
    frame();
    EXPECT_EQ(provider.mTimestamps.size(), 2u);
    EXPECT_EQ(mJournal.size(), 2u);
    EXPECT_TRUE(impostor.mTimestamps.empty() && idle.mTimestamps.empty() && disabled.mTimestamps.empty());
}

TEST_F(InputManagerTest, ProvidersAndProcessorsLeaveWhenDestroyedOrUnregisteredAndMayOutliveTheCore)
{
    RecordingProcessor kept("kept", mJournal);
    input().registerInputProcessor(kept);
    {
        RecordingProcessor gone("gone", mJournal);
        input().registerInputProcessor(gone);
        CountingProvider provider;
        input().registerInputProvider(provider);
    }
    EXPECT_TRUE(input().getProcessList()->empty());
    trigger();
    EXPECT_EQ(mJournal, (Journal{"kept"}));

    EXPECT_TRUE(input().unregisterInputProcessor(kept));
    EXPECT_FALSE(input().unregisterInputProcessor(kept));
    trigger();
    EXPECT_EQ(mJournal.size(), 1u);

    auto* processor = new RecordingProcessor("late", mJournal);
    auto* provider = new CountingProvider();
    input().registerInputProcessor(*processor);
    input().registerInputProvider(*provider);
    core().shutdown();
    provider->pollEvents(1); // goes nowhere
    delete provider;
    delete processor;
    EXPECT_EQ(mJournal.size(), 1u);
}

TEST_F(InputManagerTest, ProcessorsRemovedOrAddedDuringADispatchLeaveTheOthersTheirTurn)
{
    RecordingProcessor a("a", mJournal);
    auto* b = new RecordingProcessor("b", mJournal);
    RecordingProcessor c("c", mJournal);
    RecordingProcessor added("added", mJournal);
    for (RecordingProcessor* processor : {&a, b, &c}) {
        input().registerInputProcessor(*processor);
    }
    // b takes a away, brings a newcomer in and deletes itself.
    b->mOnEvent = [this, &a, &added, b](InputEvent&) {
        input().unregisterInputProcessor(a);
        input().registerInputProcessor(added);
        delete b;
    };
    trigger();
    EXPECT_EQ(mJournal, (Journal{"a", "b", "c", "added"}));

    // c leaves during a dispatch nested in its own.
    int depth = 0;
    c.mOnEvent = [this, &c, &depth](InputEvent&) {
        if (++depth == 1) {
            trigger();
            input().unregisterInputProcessor(c);
        }
    };
    mJournal.clear();
    trigger();
    trigger();
    EXPECT_EQ(mJournal, (Journal{"c", "c", "added", "added", "added"}));
}
