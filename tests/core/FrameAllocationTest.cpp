#include "core/EventManager.h"
#include "core/Modifier.h"
#include "core/Process.h"
#include "core/ProcessManager.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

namespace {

class IdleModifier : public Velta::Modifier, public Velta::Process {
public:
    int run(long long) override { return ++mRuns; }
    int mRuns = 0;
};

using FrameAllocation = VeltaTest::SetUpCoreFixture;

} // namespace

TEST_F(FrameAllocation, AFrameWithNothingToDoAllocatesNothing)
{
    CppLib::SharedPtr<IdleModifier> modifier(new IdleModifier());
    modifier->setState(Velta::LogicElement::ACTIVE);
    core().getEventManager().registerModifier(modifier);
    core().getProcessManager().update(true); // settle anything done once

    VeltaTest::AllocationCounter allocations;
    for (int frame = 0; frame < 100; ++frame) {
        core().getProcessManager().update(true);
    }
    EXPECT_EQ(allocations.getCount(), 0u);
    EXPECT_EQ(modifier->mRuns, 101);
}
