#include "core/LogManager.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using CppLib::Logger;
using CppLib::SharedPtr;

namespace {

class NamedLogger : public Logger {
public:
    explicit NamedLogger(std::vector<std::string>& lines, std::string name) : mLines(lines), mName(std::move(name)) {}
    void fatal(const std::string& m) override { mLines.push_back(mName + " fatal " + m); }
    void error(const std::string& m) override { mLines.push_back(mName + " error " + m); }
    void warn(const std::string& m) override { mLines.push_back(mName + " warn " + m); }
    void info(const std::string& m) override { mLines.push_back(mName + " info " + m); }
    void debug(const std::string& m) override { mLines.push_back(mName + " debug " + m); }

private:
    std::vector<std::string>& mLines;
    std::string mName;
};

class RecordingBackend : public CppLib::LogBackend {
public:
    explicit RecordingBackend(bool initialized) : mInitialized(initialized) {}
    void initialize() override
    {
        ++mInitializeCalls;
        mInitialized = true;
    }
    bool isInitialized() override { return mInitialized; }
    SharedPtr<Logger> getLogger(const std::string& name) override
    {
        mRequested.push_back(name);
        if (name == "unknown") {
            return {};
        }
        return SharedPtr<Logger>(new NamedLogger(mLines, name));
    }

    bool mInitialized;
    int mInitializeCalls = 0;
    std::vector<std::string> mRequested;
    std::vector<std::string> mLines;
};

using LoggingTest = VeltaTest::CoreFixture;

} // namespace

TEST_F(LoggingTest, DefaultLoggerWritesBareLinesOnStandardErrorAtEveryLevelAndOutlivesTheLogManager)
{
    SharedPtr<Logger> terrain = core().getLogManager().getLogger("terrain");
    SharedPtr<Logger> water = core().getLogManager().getLogger("water");
    EXPECT_EQ(terrain.get(), water.get()) << "every name shares the one default logger";
    EXPECT_EQ(terrain.get(), core().getLogManager().getLogger("").get());
    EXPECT_EQ(terrain.get(), Velta::VeltaCore::getLogger("terrain").get());

    testing::internal::CaptureStderr();
    terrain->fatal("f");
    terrain->error("e");
    water->warn("x");
    water->info("i");
    water->debug("d");
    core().shutdown();
    water->info("still here");
    Velta::VeltaCore::getLogger("water")->error("dropped: no log manager");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "f\ne\nx\ni\nd\nstill here\n");
    core().startup();
}

TEST_F(LoggingTest, BackendsGetNamesUnchangedAndAreInitialisedOnlyWhenNeeded)
{
    RecordingBackend ready(true);
    core().getLogManager().registerBackend(ready);
    EXPECT_EQ(ready.mInitializeCalls, 0);

    RecordingBackend fresh(false);
    core().getLogManager().registerBackend(fresh);
    EXPECT_EQ(fresh.mInitializeCalls, 1);

    core().getLogManager().getLogger("loader.ms3d.objectloader")->warn("broken");
    EXPECT_EQ(fresh.mLines, (std::vector<std::string>{"loader.ms3d.objectloader warn broken"}));
    EXPECT_TRUE(ready.mRequested.empty()) << "the later back end replaces the earlier one";

    // A back end without a logger for a name: the default one answers.
    SharedPtr<Logger> fallback = core().getLogManager().getLogger("unknown");
    EXPECT_EQ(fresh.mRequested, (std::vector<std::string>{"loader.ms3d.objectloader", "unknown"}));
    ASSERT_FALSE(fallback.isNull());
    testing::internal::CaptureStderr();
    fallback->error("fallback");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "fallback\n");
}
