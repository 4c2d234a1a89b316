#include "core/ProcessManager.h"
#include "render/Capabilities.h"
#include "render/RenderContext.h"
#include "render/RenderEngine.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/RenderWindow.h"
#include "render/Viewport.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Velta;

namespace {

/// What happened to fake engines and windows, in order.
std::vector<std::string> gJournal;

class FakeWindow : public RenderWindow {
public:
    FakeWindow(int id, const std::string& name, int width, int height)
        : RenderWindow(id, name, width, height, false, 0, 0, nullptr)
    {
    }
    ~FakeWindow() override { gJournal.push_back("delete " + getName()); }

    RenderEngine* getRenderEngine() override { return nullptr; }
    RenderContext* getRenderContext() override { return nullptr; }
    void render(long long) override { gJournal.push_back("render " + getName()); }
    bool supportsInputGrab() const override { return false; }
    bool isInputGrabbed() const override { return false; }
    bool setInputGrabbed(bool) override { return false; }
    bool supportsCursorControl() const override { return false; }
    bool isCursorVisible() const override { return true; }
    bool setCursorVisible(bool) override { return false; }
    bool warpPointer(int, int) override { return false; }
};

class FakeEngine : public RenderEngine {
public:
    explicit FakeEngine(std::string name) : mName(std::move(name)) {}

    bool initialize() override
    {
        gJournal.push_back("initialize " + mName);
        return false;
    }
    RenderWindow* createRenderWindow(int id, const std::string& name, int width, int height, bool, int, int,
                                     CppLib::LinkedMap<std::string, std::string>*) override
    {
        if (width <= 0) {
            return nullptr;
        }
        gJournal.push_back("open " + name + " on " + mName);
        return new FakeWindow(id, name, width, height);
    }
    Capabilities* getCapabilities() override { return nullptr; }
    void shutdown() override { gJournal.push_back("shutdown " + mName); }

private:
    std::string mName;
};

/// A render manager of its own, without a window system.
class RenderManagerTest : public VeltaTest::CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        gJournal.clear();
    }

    RenderWindow& open(const std::string& name)
    {
        RenderWindow* window = mManager.createRenderWindow(name, 640, 480, false, 0, 0, nullptr);
        EXPECT_NE(window, nullptr);
        return *window;
    }

    std::vector<int> adapterIds()
    {
        std::vector<int> ids;
        for (Process* process : *mManager.getProcessList()) {
            ids.push_back(static_cast<RenderManager::RenderAdapter*>(process)->getTargetRenderer().getId());
        }
        return ids;
    }

    FakeEngine mFirst{"first"};
    FakeEngine mSecond{"second"};
    RenderManager mManager;
};

} // namespace

TEST_F(RenderManagerTest, WindowsThatCannotOpenAreNotRegisteredAndWithoutAnEngineTheReasonIsLoggedOnce)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(mManager.createRenderWindow("game", 800, 600, false, 0, 0, nullptr), nullptr);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("no render engine"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);

    mManager.registerRenderer("first", &mFirst);
    EXPECT_EQ(mManager.createRenderWindow("bad", 0, 480, false, 0, 0, nullptr), nullptr);
    EXPECT_EQ(mManager.getRenderWindowCount(), 0u);
    EXPECT_TRUE(mManager.getProcessList()->empty());
    EXPECT_EQ(open("good").getId(), 0);
}

TEST_F(RenderManagerTest, WindowIdsAreNeverSharedAndAPrimaryWindowIsKept)
{
    mManager.registerRenderer("first", &mFirst);
    RenderWindow& a = open("a");
    RenderWindow& b = open("b");
    EXPECT_EQ(b.getId(), 1);
    EXPECT_TRUE(a.isPrimary());
    EXPECT_FALSE(b.isPrimary());
    EXPECT_EQ(mManager.getRenderWindow(2), nullptr);
    EXPECT_EQ(mManager.getRenderWindowByName("b"), &b);
    EXPECT_EQ(adapterIds(), (std::vector<int>{0, 1}));
    EXPECT_EQ(mManager.setPrimaryRenderWindow(7), 0);
    EXPECT_EQ(mManager.getPrimaryRenderWindow(), &a);

    // Destroying a window removes its render process.
    EXPECT_FALSE(mManager.destroyRenderWindow(5));
    EXPECT_TRUE(mManager.destroyRenderWindow(1));
    EXPECT_EQ(gJournal.back(), "delete b");
    EXPECT_EQ(adapterIds(), (std::vector<int>{0}));
    RenderWindow& c = open("c");
    EXPECT_EQ(c.getId(), 1);
    EXPECT_EQ(mManager.setPrimaryRenderWindow(1), 0);
    EXPECT_TRUE(c.isPrimary());
    EXPECT_FALSE(a.isPrimary());

    // Window 0 goes while 1 stays: the next window must not take id 1 again.
    EXPECT_TRUE(mManager.destroyRenderWindow(0));
    RenderWindow& d = open("d");
    EXPECT_EQ(d.getId(), 0);
    EXPECT_EQ(mManager.getRenderWindow(1), &c);
    EXPECT_EQ(adapterIds(), (std::vector<int>{1, 0}));
    // The primary window goes; the next one opened takes its place.
    EXPECT_TRUE(mManager.destroyRenderWindow(1));
    EXPECT_EQ(mManager.getPrimaryRenderWindow(), &open("e"));
}

TEST_F(RenderManagerTest, AnUnregisteredDefaultNameIsRefusedAndLogged)
{
    mManager.registerRenderer("first", &mFirst);
    mManager.registerRenderer("second", &mSecond);
    EXPECT_EQ(mManager.getDefaultRenderer(), "first");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(mManager.setDefaultRenderer("vulkan"));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("vulkan"), std::string::npos) << log;
    EXPECT_EQ(mManager.getDefaultRenderer(), "first");

    EXPECT_TRUE(mManager.setDefaultRenderer("second"));
    open("a");
    EXPECT_EQ(gJournal.back(), "open a on second");
}

TEST_F(RenderManagerTest, EnginesStartInNameOrderAndLateOnesAtOnceAndStopAfterTheWindowsClose)
{
    {
        RenderManager manager;
        manager.registerRenderer("second", &mSecond);
        EXPECT_EQ(manager.initializeRenderer(true), 1);
        manager.registerRenderer("first", &mFirst);
        EXPECT_EQ(gJournal, (std::vector<std::string>{"initialize second", "open default on second", "initialize first"}));
        RenderWindow* window = manager.getRenderWindow(0);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->getWidth(), 800);
        EXPECT_EQ(window->getHeight(), 600);
        gJournal.clear();
    }
    EXPECT_EQ(gJournal, (std::vector<std::string>{"delete default", "shutdown first", "shutdown second"}));
}

TEST_F(RenderManagerTest, EachFrameRendersEveryWindowOnce)
{
    RenderManager& manager = core().getRenderManager();
    manager.registerRenderer("first", &mFirst);
    manager.createRenderWindow("a", 10, 10, false, 0, 0, nullptr);
    manager.createRenderWindow("b", 10, 10, false, 0, 0, nullptr);
    gJournal.clear();
    core().getProcessManager().update(true);
    EXPECT_EQ(gJournal, (std::vector<std::string>{"render a", "render b"}));
    manager.destroyRenderWindow(0);
    manager.destroyRenderWindow(1);
}

TEST(Viewport, RelativeLayoutsFollowTheTargetAndAbsoluteOnesDoNot)
{
    Viewport relative(0.5f, 0.0f, 0.5f, 1.0f);
    EXPECT_EQ(relative.getPosX(800), 400);
    EXPECT_EQ(relative.getWidth(801), 400);
    EXPECT_EQ(relative.getHeight(600), 600);

    Viewport absolute(10, 20, 30, 40);
    EXPECT_EQ(absolute.getPosX(800), 10);
    EXPECT_EQ(absolute.getHeight(9999), 40);
    absolute.setRelativeLayout(0.25f, 0.25f, 0.5f, 0.5f);
    EXPECT_EQ(absolute.getPosX(400), 100);
}

TEST(RenderTarget, ViewportsAreKeptInIndexOrder)
{
    RenderTarget target;
    CppLib::SharedPtr<Viewport> a(new Viewport(0, 0, 1, 1));
    CppLib::SharedPtr<Viewport> b(new Viewport(0, 0, 2, 2));
    CppLib::SharedPtr<Viewport> c(new Viewport(0, 0, 3, 3));
    EXPECT_EQ(target.attachViewport(a), 0);
    EXPECT_EQ(target.attachViewport(b), 1);
    EXPECT_EQ(target.insertViewport(1, c), 1);
    EXPECT_EQ(target.insertViewport(9, c), -1);
    ASSERT_EQ(target.getViewportCount(), 3);
    EXPECT_EQ(target.getViewport(0).get(), a.get());
    EXPECT_EQ(target.getViewport(1).get(), c.get());
    EXPECT_EQ(target.getViewport(2).get(), b.get());
    EXPECT_TRUE(target.getViewport(3).isNull());
}
