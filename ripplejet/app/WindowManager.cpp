#include "app/WindowManager.h"

#include "core/LogManager.h"
#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "input/InputEvent.h"
#include "input/InputManager.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/RenderWindow.h"
#include "render/Viewport.h"
#include "resource/RenderSettings.h"
#include "level/Level.h"
#include "app/Menu.h"
#include "scene/Camera.h"

#include <string>

namespace Ripplejet {

namespace {

using Velta::KeyEventInfo;

/// Hot keys act only without these: Shift, Ctrl, Alt and Meta held, and
/// Caps Lock on. Num Lock and the Mode key do not matter.
constexpr unsigned short BLOCKING_MODIFIERS =
    KeyEventInfo::MOD_SHIFT | KeyEventInfo::MOD_CTRL | KeyEventInfo::MOD_ALT | KeyEventInfo::MOD_META |
    KeyEventInfo::MOD_CAPS;

Velta::VeltaCore& core()
{
    return Velta::VeltaCore::getSingleton();
}

void logError(const std::string& message)
{
    core().getLogManager().getLogger("windowmanager")->error(message);
}

} // namespace

WindowManager::WindowManager() : Velta::InputProcessor(-1) {}

WindowManager::~WindowManager() = default;

bool WindowManager::init()
{
    mFullscreen = true;
    mWidth = FULLSCREEN_WIDTH;
    mHeight = FULLSCREEN_HEIGHT;
    // Both cover the whole window (the float constructor: fractions).
    mMenuViewport = CppLib::SharedPtr<Velta::Viewport>(new Velta::Viewport(0.0f, 0.0f, 1.0f, 1.0f));
    mLevelViewport = CppLib::SharedPtr<Velta::Viewport>(new Velta::Viewport(0.0f, 0.0f, 1.0f, 1.0f));
    mRenderTarget = CppLib::SharedPtr<Velta::RenderTarget>(new Velta::RenderTarget());
    mRenderTarget->attachViewport(mLevelViewport);
    mRenderTarget->attachViewport(mMenuViewport);
    if (!openWindow()) {
        return false;
    }
    core().getInputManager().registerInputProcessor(*this);
    return true;
}

bool WindowManager::openWindow()
{
    mWindow = core().getRenderManager().createRenderWindow("Ripplejet", mWidth, mHeight, mFullscreen, 10, 10, nullptr);
    if (!mWindow) {
        logError("Cannot open the " + std::to_string(mWidth) + " x " + std::to_string(mHeight) +
                 (mFullscreen ? " full-screen" : "") + " window \"Ripplejet\"");
        return false;
    }
    mWindow->attachRenderTarget(mRenderTarget);
    return true;
}

void WindowManager::closeWindow()
{
    if (!mWindow) {
        return;
    }
    mWindow->detachRenderTarget();
    const int id = mWindow->getId();
    mWindow = nullptr;
    core().getRenderManager().destroyRenderWindow(id);
}

void WindowManager::setMenu(Menu* menu)
{
    mMenu = menu;
    if (mMenu && !mMenuViewport.isNull()) {
        mMenuViewport->attachCamera(mMenu->getCamera());
    }
}

void WindowManager::setLevel(Level* level)
{
    mLevel = level;
}

bool WindowManager::startLevel()
{
    if (!mLevel || !mLevel->load()) {
        return false;
    }
    setMouseGrab(true);
    if (!mLevelViewport.isNull()) {
        mLevelViewport->attachCamera(mLevel->getCamera());
        mLevelViewport->setEnabled(true);
    }
    mLevel->start();
    if (!mMenuViewport.isNull()) {
        mMenuViewport->setEnabled(false);
    }
    mLevelActive = true;
    return true;
}

void WindowManager::run()
{
    Velta::VeltaCore& engine = core();
    mRunning = true;
    while (mRunning) {
        const long long timestamp = engine.getTimerManager().getTimestamp();
        if (mLevel) {
            mLevel->update(timestamp);
        }
        engine.getProcessManager().update(true);
        if (mShowStats) {
            countFrame(timestamp);
        }
    }
}

void WindowManager::countFrame(long long timestamp)
{
    if (timestamp - mLastStatsTime >= 1000) {
        core().getLogManager().getLogger("stats")->info("FPS: " + std::to_string(mFrameCount));
        mFrameCount = 0;
        mLastStatsTime = timestamp;
    }
    ++mFrameCount;
}

bool WindowManager::processInputEvent(Velta::InputEvent& event)
{
    bool handled = false;
    switch (event.getEventType()) {
    case Velta::InputEvent::EVENT_MOVE:
        if (mLevelActive && mLevel) {
            handled = handleMouseMove(event);
        }
        break;
    case Velta::InputEvent::EVENT_KEY:
        handled = handleKey(event.getKeyEventInfo());
        break;
    case Velta::InputEvent::EVENT_SYSWM: {
        const Velta::SysWMEventInfo* info = event.getSysWMEventInfo();
        if (info && info->getEventType() == Velta::SysWMEventInfo::SYSWM_QUIT) {
            handled = true;
            quit();
        }
        break;
    }
    default:
        break;
    }
    if (!handled) {
        if (mLevelActive && mLevel) {
            mLevel->processInputEvent(event);
        } else if (mMenu) {
            mMenu->processInputEvent(event);
        }
    }
    return true;
}

bool WindowManager::handleKey(const Velta::KeyEventInfo* info)
{
    if (!info || info->getEventType() != Velta::KeyEventInfo::KEY_PRESSED ||
        (info->getModifierMask() & BLOCKING_MODIFIERS) != 0) {
        return false;
    }
    switch (info->getKeySymbol()) {
    case KeyEventInfo::KEY_ESCAPE:
        quit();
        return true;
    case KeyEventInfo::KEY_T:
        toggleFullscreen();
        return true;
    case KeyEventInfo::KEY_U:
        setMouseGrab(!mMouseGrabbed);
        return true;
    case KeyEventInfo::KEY_F2:
        mShowStats = !mShowStats;
        return true;
    case KeyEventInfo::KEY_F3:
        cycleShadingMode();
        return true;
    case KeyEventInfo::KEY_F12:
        if (mWindow) {
            mScreenshot.takeOfNextFrame(*mWindow);
        }
        return true;
    default:
        return false;
    }
}

void WindowManager::cycleShadingMode()
{
    if (mLevelViewport.isNull()) {
        return;
    }
    const CppLib::SharedPtr<Velta::Camera> camera = mLevelViewport->getCamera();
    if (camera.isNull()) {
        return;
    }
    const CppLib::SharedPtr<Velta::RenderSettings> settings = camera->getCamSettings().getRenderSettings();
    if (settings.isNull()) {
        return;
    }
    using Velta::RenderSettings;
    switch (settings->getShadingMode()) {
    case RenderSettings::SHADE_SMOOTH:
        settings->setShadingMode(RenderSettings::SHADE_POINTS);
        break;
    case RenderSettings::SHADE_POINTS:
        settings->setShadingMode(RenderSettings::SHADE_WIREFRAME);
        break;
    case RenderSettings::SHADE_WIREFRAME:
        settings->setShadingMode(RenderSettings::SHADE_FLAT);
        break;
    default:
        settings->setShadingMode(RenderSettings::SHADE_SMOOTH);
        break;
    }
}

void WindowManager::setMouseGrab(bool grab)
{
    if (mWindow) {
        mWindow->setInputGrabbed(grab);
        mWindow->setCursorVisible(!grab);
    }
    mMouseGrabbed = grab;
}

bool WindowManager::toggleFullscreen()
{
    closeWindow();
    mFullscreen = !mFullscreen;
    mWidth = mFullscreen ? FULLSCREEN_WIDTH : WINDOWED_WIDTH;
    mHeight = mFullscreen ? FULLSCREEN_HEIGHT : WINDOWED_HEIGHT;
    if (openWindow()) {
        return true;
    }
    mFullscreen = !mFullscreen;
    mWidth = mFullscreen ? FULLSCREEN_WIDTH : WINDOWED_WIDTH;
    mHeight = mFullscreen ? FULLSCREEN_HEIGHT : WINDOWED_HEIGHT;
    if (!openWindow()) {
        logError("No window is left to draw in; the game ends");
        quit();
    }
    return false;
}

bool WindowManager::handleMouseMove(Velta::InputEvent& event)
{
    if (mIgnoreNextMove) {
        mIgnoreNextMove = false;
        return true;
    }
    const Velta::MoveEventInfo* info = event.getMoveEventInfo();
    if (!info) {
        return false;
    }
    int x = static_cast<int>(info->getX());
    int y = static_cast<int>(info->getY());
    const int spanX = mWidth - 2 * WRAP_MARGIN;
    const int spanY = mHeight - 2 * WRAP_MARGIN;
    if (mMouseGrabbed) {
        bool wrapped = true;
        if (x < WRAP_MARGIN) {
            x += spanX;
            --mWrapX;
        } else if (x > mWidth - WRAP_MARGIN) {
            x -= spanX;
            ++mWrapX;
        } else {
            wrapped = false;
        }
        if (y < WRAP_MARGIN) {
            y += spanY;
            --mWrapY;
            wrapped = true;
        } else if (y > mHeight - WRAP_MARGIN) {
            y -= spanY;
            ++mWrapY;
            wrapped = true;
        }
        if (wrapped) {
            // The warp itself comes back as a move event: that one is not
            // the player's.
            mIgnoreNextMove = true;
            if (mWindow) {
                mWindow->warpPointer(x, y);
            }
        }
    }
    const float fx = static_cast<float>(x) / static_cast<float>(spanX) + static_cast<float>(mWrapX);
    const float fy = static_cast<float>(y) / static_cast<float>(spanY) + static_cast<float>(mWrapY);
    event.setMove(fx, fy);
    return false;
}

} // namespace Ripplejet
