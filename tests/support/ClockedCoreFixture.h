#pragma once

#include "core/TimerManager.h"
#include "support/CoreFixture.h"
#include "testkit/ManualClock.h"

namespace VeltaTest {

/// A started core whose timestamps come from a ManualClock.
class ClockedCoreFixture : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        core().getTimerManager().registerTimerPlugin(mClock);
    }

    ManualClock mClock;
};

} // namespace VeltaTest
