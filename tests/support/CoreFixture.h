#pragma once

#include "core/VeltaCore.h"

#include <gtest/gtest.h>

namespace VeltaTest {

/// A started core, shut down again after the test. With `withSetup` the
/// data directories are mapped and the plug-ins installed.
class CoreFixture : public testing::Test {
protected:
    explicit CoreFixture(bool withSetup = false) : mWithSetup(withSetup) {}

    void SetUp() override
    {
        core().startup();
        if (mWithSetup) {
            core().setup(true);
        }
    }

    void TearDown() override { core().shutdown(); }

    static Velta::VeltaCore& core() { return CppLib::Singleton<Velta::VeltaCore>::getSingleton(); }

private:
    bool mWithSetup;
};

/// A started and set-up core.
class SetUpCoreFixture : public CoreFixture {
protected:
    SetUpCoreFixture() : CoreFixture(true) {}
};

} // namespace VeltaTest
