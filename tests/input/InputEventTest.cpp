#include "input/ButtonEventInfo.h"
#include "input/InputEvent.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

using Velta::InputEvent;
using Velta::MoveEventInfo;

namespace {

/// Counts its own destructions, copies included.
class CountedInfo : public Velta::InputEventInfo {
public:
    explicit CountedInfo(int& deaths) : mDeaths(deaths) {}
    ~CountedInfo() override { ++mDeaths; }
    CountedInfo* clone() const override { return new CountedInfo(mDeaths); }

    int& mDeaths;
};

} // namespace

TEST(InputEvent, ReplacingTheInfoDeletesThePreviousOneOnceAndTheEventDeletesTheLast)
{
    int firstDeaths = 0;
    int secondDeaths = 0;
    {
        InputEvent event(10);
        event.setEventType(InputEvent::EVENT_KEY, *new CountedInfo(firstDeaths));
        auto* second = new CountedInfo(secondDeaths);
        event.setEventType(InputEvent::EVENT_MOVE, *second);
        event.setEventType(InputEvent::EVENT_BUTTON, *second); // the held one again: only the type changes
        EXPECT_EQ(firstDeaths, 1);
        EXPECT_EQ(secondDeaths, 0);
    }
    EXPECT_EQ(firstDeaths, 1);
    EXPECT_EQ(secondDeaths, 1);
}

TEST(InputEvent, TypedAccessorsAnswerOnlyForTheMatchingTypeAndInfoClass)
{
    InputEvent event(0);
    EXPECT_EQ(event.getKeyEventInfo(), nullptr);

    auto* key = new Velta::KeyEventInfo(Velta::KeyEventInfo::KEY_PRESSED, 9, 27, 0);
    event.setEventType(InputEvent::EVENT_KEY, *key);
    EXPECT_EQ(event.getKeyEventInfo(), key);
    EXPECT_EQ(event.getMoveEventInfo(), nullptr);

    // A type paired with the wrong class of info is never miscast.
    event.setEventType(InputEvent::EVENT_KEY, *new MoveEventInfo(1.0f, 2.0f));
    EXPECT_EQ(event.getKeyEventInfo(), nullptr);
    EXPECT_EQ(event.getMoveEventInfo(), nullptr);
}

TEST(InputEvent, CopiesHoldTheirOwnInfo)
{
    InputEvent original(1234);
    original.setEventType(InputEvent::EVENT_SYSWM,
                          *new Velta::SysWMEventInfo(Velta::SysWMEventInfo::SYSWM_RESIZE, 640, 480));
    InputEvent copy(original);
    original.setEventType(InputEvent::EVENT_BUTTON,
                          *new Velta::ButtonEventInfo(Velta::ButtonEventInfo::BUTTON_PRESSED, 1));
    ASSERT_NE(copy.getSysWMEventInfo(), nullptr);
    EXPECT_EQ(copy.getSysWMEventInfo()->getWidth(), 640);
    EXPECT_EQ(copy.getTimestamp(), 1234);

    InputEvent assigned(0);
    assigned.setEventType(InputEvent::EVENT_MOVE, *new MoveEventInfo(5.0f, 6.0f));
    assigned = original;
    assigned = assigned;
    ASSERT_NE(assigned.getButtonEventInfo(), nullptr);
    EXPECT_NE(assigned.getButtonEventInfo(), original.getButtonEventInfo());
    assigned = InputEvent(7);
    EXPECT_EQ(assigned.getEventInfo(), nullptr);
}

TEST(InputEvent, OwnInfosAreRewrittenWithoutAllocatingAndCopiedByValue)
{
    InputEvent event(3);
    event.setEventType(InputEvent::EVENT_KEY, *new Velta::KeyEventInfo(Velta::KeyEventInfo::KEY_PRESSED, 1, 2, 0));
    VeltaTest::AllocationCounter allocations;
    event.setMove(4.0f, 5.0f); // the allocated key info goes
    event.setKey(Velta::KeyEventInfo::KEY_RELEASED, 9, 119, 1);
    event.setButton(Velta::ButtonEventInfo::BUTTON_PRESSED, 3);
    event.setSysWM(Velta::SysWMEventInfo::SYSWM_RESIZE, 800, 600);
    const MoveEventInfo& move = event.setMove(6.0f, 7.0f);
    EXPECT_EQ(allocations.getCount(), 0u);

    ASSERT_EQ(event.getMoveEventInfo(), &move);
    EXPECT_EQ(move.getAxisCount(), 2);
    EXPECT_FLOAT_EQ(move.getX(), 6.0f);
    EXPECT_FLOAT_EQ(move.getY(), 7.0f);
    EXPECT_EQ(event.getKeyEventInfo(), nullptr);

    // A copy holds its own info with the same values, which the original's
    // next rewrite leaves alone.
    InputEvent copy(event);
    event.setMove(8.0f, 9.0f);
    ASSERT_NE(copy.getMoveEventInfo(), nullptr);
    EXPECT_NE(copy.getMoveEventInfo(), event.getMoveEventInfo());
    EXPECT_FLOAT_EQ(copy.getMoveEventInfo()->getX(), 6.0f);

    // An allocated info replaces the own one and is deleted with the event.
    copy.setEventType(InputEvent::EVENT_MOVE, *new MoveEventInfo(CppLib::Vector<float>{1.0f, 2.0f, 3.0f, 4.0f}));
    ASSERT_NE(copy.getMoveEventInfo(), nullptr);
    EXPECT_EQ(copy.getMoveEventInfo()->getAxisCount(), 4);
    EXPECT_FLOAT_EQ(copy.getMoveEventInfo()->getAxis(3), 4.0f);
    EXPECT_FLOAT_EQ(copy.getMoveEventInfo()->getAxis(4), 0.0f);
    copy = event;
    EXPECT_FLOAT_EQ(copy.getMoveEventInfo()->getY(), 9.0f);
}
