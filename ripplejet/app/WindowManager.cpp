#include "app/WindowManager.h"

#include "app/FreedMemory.h"
#include "app/GameClock.h"
#include "app/RaceRecorder.h"
#include "app/RaceReplay.h"
#include "race/Autopilot.h"

#include "core/LogManager.h"
#include "core/ProcessManager.h"
#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "input/InputEvent.h"
#include "input/InputManager.h"
#include "input/ButtonEventInfo.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "input/SysWMEventInfo.h"
#include "render/RenderContext.h"
#include "render/RenderManager.h"
#include "render/RenderTarget.h"
#include "render/RenderWindow.h"
#include "render/Viewport.h"
#include "resource/RenderSettings.h"
#include "course/CourseBuilder.h"
#include "level/Level.h"
#include "app/Menu.h"
#include "scene/Camera.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <utility>
#include <vector>
#include <string>
#include <thread>

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

long long steadyMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr const char* PAUSED_IMAGE = "overlays\\paused.png";
constexpr const char* HELP_IMAGE = "overlays\\help.png";

} // namespace

WindowManager::WindowManager() : Velta::InputProcessor(-1) {}

WindowManager::~WindowManager()
{
    mNotice.setOverlay(nullptr);
}

void WindowManager::setWindowMode(bool fullscreen, int width, int height)
{
    mFullscreen = fullscreen;
    const bool sized = width > 0 && height > 0;
    mFullscreenSize = sized ? std::make_pair(width, height) : std::make_pair(FULLSCREEN_WIDTH, FULLSCREEN_HEIGHT);
    mWindowedSize = sized ? std::make_pair(width, height) : std::make_pair(WINDOWED_WIDTH, WINDOWED_HEIGHT);
    mModeChosen = true;
}

void WindowManager::takeModeSize()
{
    const std::pair<int, int> size = mFullscreen ? nearestFullscreenSize(mFullscreenSize) : mWindowedSize;
    mWidth = size.first;
    mHeight = size.second;
}

std::pair<int, int> WindowManager::nearestFullscreenSize(std::pair<int, int> wanted) const
{
    const std::vector<std::pair<int, int>> sizes = core().getRenderManager().getFullscreenSizes();
    if (sizes.empty() || std::find(sizes.begin(), sizes.end(), wanted) != sizes.end()) {
        return wanted;
    }
    std::pair<int, int> best = sizes.front();
    const auto distance = [&](std::pair<int, int> size) {
        return std::abs(size.first - wanted.first) + std::abs(size.second - wanted.second);
    };
    for (const std::pair<int, int>& size : sizes) {
        if (distance(size) < distance(best)) {
            best = size;
        }
    }
    core().getLogManager().getLogger("windowmanager")->warn(
        "The display offers no " + std::to_string(wanted.first) + " x " + std::to_string(wanted.second) +
        " full-screen mode; using the nearest, " + std::to_string(best.first) + " x " + std::to_string(best.second));
    return best;
}

bool WindowManager::init()
{
    if (!mModeChosen) {
        mFullscreen = true;
        mFullscreenSize = {FULLSCREEN_WIDTH, FULLSCREEN_HEIGHT};
        mWindowedSize = {WINDOWED_WIDTH, WINDOWED_HEIGHT};
    }
    takeModeSize();
    // Both cover the whole window (the float constructor: fractions).
    mMenuViewport = CppLib::SharedPtr<Velta::Viewport>(new Velta::Viewport(0.0f, 0.0f, 1.0f, 1.0f));
    mLevelViewport = CppLib::SharedPtr<Velta::Viewport>(new Velta::Viewport(0.0f, 0.0f, 1.0f, 1.0f));
    mRenderTarget = CppLib::SharedPtr<Velta::RenderTarget>(new Velta::RenderTarget());
    mRenderTarget->setBackgroundColor(CourseBuilder::getBackgroundColor());
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
    mNotice.setOverlay(nullptr);
    mAutopilot.reset();
    mAutopilotClicked = false;
    if (!level) {
        mLevelActive = false;
    }
    mLevel = level;
}

void WindowManager::setBenchmark(bool benchmark, int toSection)
{
    mBenchmark = benchmark;
    mBenchmarkSection = toSection;
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
    const CppLib::SharedPtr<Velta::Camera> camera = mLevel->getCamera();
    mNotice.setOverlay(camera.isNull() ? nullptr : camera->getOverlay());
    RaceMessage::preload(PAUSED_IMAGE);
    RaceMessage::preload(HELP_IMAGE);
    if (mPaused || mHelpShown) {
        showNotice();
        setMouseGrab(false);
    }
    mLevelActive = true;
    return true;
}

void WindowManager::run()
{
    Velta::VeltaCore& engine = core();
    mRunning = true;
    // The first frame's end starts the count: that frame prepares the scene
    // for drawing (its uploads, the driver's code), which belongs to loading.
    mFrameStartMicros = steadyMicroseconds();
    while (mRunning) {
        const long long timestamp = beginFrame();
        if (mLevel) {
            mLevel->update(timestamp);
            driveLevel(timestamp);
        }
        engine.getProcessManager().update(true);
        if (mShowStats) {
            countFrame(timestamp);
        }
        endFrame();
    }
}

long long WindowManager::beginFrame()
{
    ++mFrames;
    if (mReplay && !mPaused && mReplayFrame < mReplay->getFrameCount() && mClock) {
        mClock->setFrameTime(mReplay->getFrameTime(mReplayFrame));
    } else if (mClock) {
        mClock->beginFrame();
    }
    const long long timestamp = core().getTimerManager().getTimestamp();
    if (mRecorder && !mPaused) {
        mRecorder->beginFrame(timestamp);
    }
    return timestamp;
}

void WindowManager::driveLevel(long long timestamp)
{
    if (mPaused || !mLevelActive) {
        return;
    }
    if (mReplay) {
        if (mReplayFrame < mReplay->getFrameCount()) {
            mReplay->deliverEvents(mReplayFrame, *mLevel);
        }
        return;
    }
    if (!mBenchmark && !mAutopilotOn) {
        return;
    }
    if (!mAutopilot && mLevel->getPlayerModifier()) {
        mAutopilotInput = std::make_unique<LevelInput>(*this);
        mAutopilot = std::make_unique<Autopilot>(*mAutopilotInput, *mLevel->getPlayerModifier(), mLevel);
    }
    if (!mAutopilotClicked) {
        // The click that starts the race, as the player's would.
        Velta::InputEvent click(timestamp);
        click.setButton(Velta::ButtonEventInfo::BUTTON_PRESSED, 1);
        forwardToLevel(click);
        click.setButton(Velta::ButtonEventInfo::BUTTON_RELEASED, 1);
        forwardToLevel(click);
        mAutopilotClicked = true;
    }
    if (mAutopilot) {
        mAutopilot->update(timestamp);
    }
}

void WindowManager::endFrame()
{
    if (mRecorder && !mPaused) {
        if (mNewRaceAsked) {
            mRecorder->recordNewRace();
        }
        mRecorder->endFrame();
    }
    if (mReplay && !mPaused) {
        if (mReplayFrame < mReplay->getFrameCount() && mReplay->startsNewRace(mReplayFrame)) {
            mNewRaceAsked = true;
        }
        if (++mReplayFrame >= mReplay->getFrameCount()) {
            quit();
        }
    }
    if (mBenchmark && mLevel &&
        (std::strcmp(mLevel->getRaceResult(), "unfinished") != 0 ||
         (mBenchmarkSection > 0 && mAutopilot && mAutopilot->getTarget() >= mBenchmarkSection))) {
        quit();
    }
    if (mFramesUntilGiveBack > 0 && --mFramesUntilGiveBack == 0) {
        FreedMemory::giveBack();
    }
    if (mNewRaceAsked) {
        mNewRaceAsked = false;
        startNewRace();
    }
    if (mFrameLimit > 0) {
        const long long frameMicros = 1000000LL / mFrameLimit;
        const long long wait = mFrameStartMicros + frameMicros - steadyMicroseconds();
        if (wait > 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(wait));
        }
    }
    mFrameStartMicros = steadyMicroseconds();
    mFrameTimes.mark(mFrameStartMicros);
}

void WindowManager::startNewRace()
{
    if (mNewRace) {
        mNewRace();
    }
    giveBackFreedMemory();
}

void WindowManager::giveBackFreedMemory()
{
    // What the old race freed goes back now; what it let go of late, the
    // render context drops with its next collection.
    FreedMemory::giveBack();
    mFramesUntilGiveBack = GIVE_BACK_AFTER_FRAMES;
}

void WindowManager::forwardToLevel(Velta::InputEvent& event)
{
    if (mRecorder) {
        mRecorder->recordEvent(event);
    }
    mLevel->processInputEvent(event);
}

void WindowManager::setPaused(bool paused)
{
    if (paused == mPaused) {
        return;
    }
    mPaused = paused;
    if (mClock) {
        mClock->setPaused(paused);
    }
    if (paused) {
        mPausedPointerX = mLastPointerX;
        mPausedPointerY = mLastPointerY;
    }
    if (mLevelActive) {
        setMouseGrab(!paused && !mHelpShown);
        if (!paused && mWindow && mPausedPointerX >= 0) {
            // Back where the pause found it, so the steering does not jump.
            mIgnoreNextMove = true;
            mWindow->warpPointer(mPausedPointerX, mPausedPointerY);
        }
    }
    showNotice();
}

void WindowManager::setHelpShown(bool shown)
{
    if (shown == mHelpShown) {
        return;
    }
    mHelpShown = shown;
    // Nobody races while reading: the help pauses, and going away ends only
    // the pause it made itself.
    if (shown) {
        mPausedByHelp = !mPaused;
        setPaused(true);
    } else if (mPausedByHelp) {
        mPausedByHelp = false;
        setPaused(false);
    }
    if (mLevelActive) {
        setMouseGrab(!mPaused && !mHelpShown);
    }
    showNotice();
}

void WindowManager::showNotice()
{
    if (mHelpShown) {
        mNotice.show(HELP_IMAGE);
    } else if (mPaused) {
        mNotice.show(PAUSED_IMAGE);
    } else {
        mNotice.hide();
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
    case Velta::InputEvent::EVENT_BUTTON:
        // While paused a click takes the game back; it is not the level's.
        if (mPaused) {
            const Velta::ButtonEventInfo* button = event.getButtonEventInfo();
            if (button && button->getEventType() == Velta::ButtonEventInfo::BUTTON_PRESSED &&
                button->getButtonNr() == 1) {
                mPausedByHelp = false;
                setHelpShown(false);
                setPaused(false);
            }
            handled = true;
        }
        break;
    case Velta::InputEvent::EVENT_SYSWM: {
        const Velta::SysWMEventInfo* info = event.getSysWMEventInfo();
        if (info && info->getEventType() == Velta::SysWMEventInfo::SYSWM_QUIT) {
            handled = true;
            quit();
        } else if (info && info->getEventType() == Velta::SysWMEventInfo::SYSWM_FOCUS_LOST && mLevelActive) {
            setPaused(true);
        }
        break;
    }
    default:
        break;
    }
    if (!handled) {
        // A replay or the benchmark drives the level; while paused nothing does.
        if (mLevelActive && mLevel) {
            if (!mPaused && !mReplay && !mBenchmark) {
                forwardToLevel(event);
            }
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
    case KeyEventInfo::KEY_F1:
        setHelpShown(!mHelpShown);
        return true;
    case KeyEventInfo::KEY_F2:
        mShowStats = !mShowStats;
        return true;
    case KeyEventInfo::KEY_PAUSE:
        setPaused(!mPaused);
        return true;
    case KeyEventInfo::KEY_RETURN:
    case KeyEventInfo::KEY_KP_ENTER:
        if (mReplay) {
            return false;
        }
        mNewRaceAsked = true;
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

void WindowManager::releaseUnusedUploads()
{
    if (mWindow && mWindow->getRenderContext()) {
        mWindow->getRenderContext()->releaseUnused();
    }
}

bool WindowManager::toggleFullscreen()
{
    mFullscreen = !mFullscreen;
    takeModeSize();
    // The same window in its new mode keeps what was uploaded for drawing.
    if (mWindow && mWindow->changeMode(mWidth, mHeight, mFullscreen)) {
        // The driver lets go of the old size's buffers within a few frames.
        mFramesUntilGiveBack = GIVE_BACK_AFTER_FRAMES;
        return true;
    }
    mFullscreen = !mFullscreen;
    takeModeSize();
    closeWindow();
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
    mLastPointerX = x;
    mLastPointerY = y;
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
