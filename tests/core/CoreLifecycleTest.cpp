#include "core/ConfigManager.h"
#include "core/PluginManager.h"
#include "core/ProcessManager.h"
#include "core/Subsystem.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "geometry/GeometryManager.h"
#include "resource/NameMapper.h"
#include "resource/ObjectLoader.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "sound/SoundManager.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Velta::VeltaCore;

extern "C" void* probeCoreAddress();

namespace {

VeltaCore& core()
{
    return CppLib::Singleton<VeltaCore>::getSingleton();
}

std::vector<std::string> gLifecycle;

void recordLifecycle(const char* manager, bool created)
{
    gLifecycle.push_back(std::string(created ? "+" : "-") + manager);
}

} // namespace

TEST(CoreLifecycle, CreatesAndDeletesTheManagersInTheirOrders)
{
    gLifecycle.clear();
    core().setManagerObserver(recordLifecycle);
    core().startup();
    core().setup(true);
    core().shutdown();
    core().setManagerObserver(nullptr);

    std::vector<std::string> expected;
    for (const char* sign : {"+", "-"}) {
        for (const char* name : {"LogManager", "ConfigManager", "RenderManager", "PluginManager", "ResourceManager",
                                 "ProcessManager", "SceneManager", "InputManager", "TimerManager", "EventManager"}) {
            expected.push_back(sign + std::string(name));
        }
    }
    EXPECT_EQ(gLifecycle, expected);
}

TEST(CoreLifecycle, SetupOnlyAfterStartupAndStartupOrShutdownTwiceIsHarmless)
{
    EXPECT_FALSE(core().setup(true));
    EXPECT_FALSE(core().isStarted());
    core().shutdown();
    core().startup();
    Velta::ProcessManager* first = &core().getProcessManager();
    core().startup();
    EXPECT_EQ(&core().getProcessManager(), first);
    EXPECT_TRUE(core().isStarted());
    core().shutdown();
    core().shutdown();
    EXPECT_FALSE(core().isStarted());

    core().startup();
    core().setup(true);
    EXPECT_EQ(core().getPluginManager().getPlugins().size(), 5u) << "a restarted core installs its plug-ins again";
    core().shutdown();
}

TEST(CoreLifecycle, AnotherSharedObjectSeesTheSameCoreAsTheProgram)
{
    EXPECT_EQ(probeCoreAddress(), &core());
}

using CoreAfterSetup = VeltaTest::SetUpCoreFixture;

TEST_F(CoreAfterSetup, RegistersTheSubsystemsMapsTheDataDirectoriesAndInstallsThePluginsAndTheSdlClock)
{
    Velta::ProcessManager& processes = core().getProcessManager();
    ASSERT_EQ(processes.getSubsystemCount(), 5u);
    const int updateOrder[] = {1, 2, 3, 5, 6};
    for (int position = 0; position < 5; ++position) {
        ASSERT_NE(processes.getSubsystemByPos(position), nullptr);
        EXPECT_EQ(processes.getSubsystemByPos(position)->getSubsystemId(), updateOrder[position]);
        EXPECT_EQ(processes.getSubsystemPos(updateOrder[position]), position);
    }
    Velta::ResourceManager& resources = core().getResourceManager();
    EXPECT_EQ(processes.getSubsystem(5), &resources.getSoundManager());
    const auto& models = resources.getGeometryManager().getGeometryNameMapper();
    ASSERT_FALSE(models.isNull());
    EXPECT_EQ(models, resources.getObjectManager().getObjectNameMapper()) << "one shared mapper";
    EXPECT_EQ(models->map("duck.ms3d").fileName, ".\\models\\duck.ms3d");
    EXPECT_EQ(resources.getTextureManager().getTextureSourceNameMapper()->map("overlays/go.png").fileName,
              ".\\textures\\overlays\\go.png");
    EXPECT_EQ(resources.getSoundManager().getSoundNameMapper()->map("splash.mp3").fileName, ".\\sound\\splash.mp3");
    EXPECT_TRUE(resources.getTextureManager().getTextureNameMapper().isNull());

    EXPECT_EQ(core().getPluginManager().getPlugins().size(), 5u);
    const auto& modelLoaders = resources.getObjectManager().getObjectLoaders();
    ASSERT_EQ(modelLoaders.getSize(), 1u);
    EXPECT_TRUE(modelLoaders.get(0)->isInitialized());
    EXPECT_NE(core().getTimerManager().getTimestampPlugin(), nullptr);
    EXPECT_GT(core().getTimerManager().getTimestamp(), 0);
    EXPECT_TRUE(core().setup(false)) << "setup answers true whatever its flag";
}

#ifndef NDEBUG
using CoreAccessorsDeathTest = testing::Test;

TEST_F(CoreAccessorsDeathTest, AccessorsAssertOutsideStartupAndShutdown)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    ASSERT_FALSE(core().isStarted());
    EXPECT_DEATH(core().getPluginManager(), "mPluginManager");
    EXPECT_DEATH(core().getResourceManager(), "mResourceManager");
    EXPECT_DEATH(core().getRenderManager(), "mRenderManager");
    EXPECT_DEATH(core().getConfigManager(), "mConfigManager");
    EXPECT_DEATH(core().getLogManager(), "mLogManager");
    EXPECT_DEATH(core().getInputManager(), "mInputManager");
    EXPECT_DEATH(core().getProcessManager(), "mProcessManager");
    EXPECT_DEATH(core().getSceneManager(), "mSceneManager");
    EXPECT_DEATH(core().getTimerManager(), "mTimerManager");
    EXPECT_DEATH(core().getEventManager(), "mEventManager");
}

TEST_F(CoreAccessorsDeathTest, ASecondCoreFailsTheSingletonAssertion)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    core();
    EXPECT_DEATH({ VeltaCore second; }, "!VeltaCore::mSingleton");
}
#else
TEST(CoreAccessorsDeathTest, AccessorsAssertOutsideStartupAndShutdown)
{
    GTEST_SKIP() << "assertions are compiled out of this build (NDEBUG)";
}
#endif
