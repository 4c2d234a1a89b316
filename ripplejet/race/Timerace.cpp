#include "race/Timerace.h"

#include "course/Course.h"
#include "duck/Duck.h"
#include "duck/DuckFollower.h"
#include "duck/DuckModifier.h"
#include "items/Item.h"
#include "level/GameSound.h"

#include "core/VeltaCore.h"
#include "input/ButtonEventInfo.h"
#include "input/InputEvent.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "terrain/Terrain.h"

#include <algorithm>
#include <iostream>

namespace Ripplejet {

namespace {

/// The race's mouse buttons, as the input provider numbers them.
enum RaceButton { BUTTON_LEFT = 1, WHEEL_UP = 4, WHEEL_DOWN = 5 };

const char* const READY_IMAGE = "overlays\\ready.png";
const char* const GO_IMAGE = "overlays\\go.png";
const char* const WON_IMAGE = "overlays\\yes.png";
const char* const LOST_IMAGE = "overlays\\gameover.png";

Velta::Point toPoint(const Course::Point3& p)
{
    return Velta::Point(p.x, p.y, p.z);
}

} // namespace

Timerace::Timerace() = default;

Timerace::~Timerace()
{
    mMessage.setOverlay(nullptr);
    // The scene goes with the level (its nodes are the level's): a new race
    // builds its own, and the old one must not be updated or drawn again.
    if (mSceneGraph) {
        Velta::VeltaCore::getSingleton().getSceneManager().deleteSceneGraph(*mSceneGraph);
    }
}

const char* Timerace::getRaceResult() const
{
    return mOver ? (mWon ? "won" : "lost") : "unfinished";
}

long long Timerace::getRaceTime() const
{
    if (!mDuck || mDuck->getStartTime() == 0) {
        return 0;
    }
    const long long end = mDuck->getFinishTime() != 0 ? mDuck->getFinishTime() : (mOver ? mOverTime : mNow);
    return end - mDuck->getStartTime();
}

bool Timerace::load()
{
    if (mSceneGraph) {
        return true;
    }
    mSceneGraph = &Velta::VeltaCore::getSingleton().getSceneManager().createSceneGraph();
    buildCourse(*mSceneGraph);
    placeItemsAndDucks(*mSceneGraph);

    // The player's duck waits, held still, for the start.
    mPlayerModifier = createDuck(Course::PLAYER_DUCK, *mSceneGraph, toPoint(Course::PLAYER_START), mDuck, true);
    mPlayerModifier->setState(Velta::LogicElement::IDLE);
    mDuck->setLevel(this);

    buildCamera();
    mFollower = createFollower(*mDuck->getTransformationNode(), *mCameraNode, mCamera);
    mPlayerModifier->setCameraTransformation(&mFollower->getOffsetTransformation());
    mFollower->setToPoint(toPoint(Course::FOLLOW_START), Course::FOLLOW_START_HEADING);
    createHudOverlay(*mDuck, mCamera);
    mMessage.setOverlay(mCamera->getOverlay());
    for (const char* image : {READY_IMAGE, GO_IMAGE, WON_IMAGE, LOST_IMAGE}) {
        RaceMessage::preload(image);
    }

    mFinishSound = GameSound::createChannel("finish.mp3", "finish", false);
    mLooseSound = GameSound::createChannel("loose.mp3", "loose", false);
    // Last, so that it follows the duck where the duck is this frame.
    registerModifier(CppLib::SharedPtr<Velta::Modifier>(mFollower));
    return true;
}

void Timerace::buildCamera()
{
    mCamera = createCamera();
    mCameraNode = &getNodes().keep(std::make_unique<Velta::TransformationNode>("camera"));
    mCameraNode->setChild(*mCamera);
    mSceneGraph->getRoot()->attachChild(*mCameraNode);
}

void Timerace::placeItemsAndDucks(Velta::SceneRoot& scene)
{
    for (const Course::ItemPlace& place : Course::items()) {
        Item* item = createItem(place.type);
        if (!item) {
            continue;
        }
        const float y = place.onGround ? -getTerrain()->getDistance(Velta::Point(place.x, 0.0f, place.z)) + place.y
                                       : place.y;
        auto& holder = getNodes().keep(std::make_unique<Velta::TransformationNode>(place.type));
        holder.setChild(*item);
        holder.scale(place.scale, false);
        holder.translate(place.x, y, place.z, false);
        scene.getRoot()->attachChild(holder);
    }
    for (const Course::DuckPlace& place : Course::ducks()) {
        Duck* duck = nullptr;
        createDuck(place.name, scene, Velta::Point(place.x, Course::DUCK_DROP_HEIGHT, place.z), duck, true);
    }
}

void Timerace::start()
{
    mMessage.show(READY_IMAGE);
}

void Timerace::update(long long timestamp)
{
    mNow = timestamp;
    Level::update(timestamp);
    if (!mRunning && mGoTime != 0) {
        const long long sinceGo = timestamp - mGoTime;
        if (sinceGo > GO_LENGTH) {
            mRunning = true;
            mPlayerModifier->setState(Velta::LogicElement::ACTIVE);
            mMessage.hide();
        } else if (sinceGo > GO_FADE_FROM) {
            const float faded = static_cast<float>(sinceGo - GO_FADE_FROM) / static_cast<float>(GO_FADE_FROM);
            mMessage.setOpacity(std::max(0.0f, 1.0f - faded));
        }
    } else if (mOver && timestamp - mOverTime < END_FADE) {
        mMessage.setOpacity(static_cast<float>(std::max(0LL, timestamp - mOverTime)) / static_cast<float>(END_FADE));
    } else if (mOver) {
        mMessage.setOpacity(1.0f);
    }
}

void Timerace::raceOver(bool won)
{
    if (mOver) {
        return;
    }
    mMessage.show(won ? WON_IMAGE : LOST_IMAGE);
    mMessage.setOpacity(0.0f);
    GameSound::playOnce(won ? mFinishSound : mLooseSound);
    mOver = true;
    mWon = won;
    mOverTime = mNow;
    // The camera turns to look back up the river.
    if (mFollower) {
        mFollower->setLookingBack(true);
    }
}

bool Timerace::processInputEvent(Velta::InputEvent& event)
{
    if (!mDuck) {
        return true;
    }
    switch (event.getEventType()) {
    case Velta::InputEvent::EVENT_KEY:
        processKey(event);
        break;
    case Velta::InputEvent::EVENT_MOVE:
        if (const Velta::MoveEventInfo* move = event.getMoveEventInfo()) {
            mPlayerModifier->processMove(*move);
        }
        break;
    case Velta::InputEvent::EVENT_BUTTON:
        processButton(event);
        break;
    default:
        break;
    }
    return true;
}

void Timerace::processKey(Velta::InputEvent& event)
{
    const Velta::KeyEventInfo* key = event.getKeyEventInfo();
    if (!key) {
        return;
    }
    if (key->getEventType() == Velta::KeyEventInfo::KEY_PRESSED) {
        using Key = Velta::KeyEventInfo;
        switch (key->getKeySymbol()) {
        case Key::KEY_E:
            mDuck->selectNextItem();
            break;
        case Key::KEY_Q:
            mDuck->selectPreviousItem();
            break;
        case Key::KEY_R:
            putDuckBack();
            break;
        case Key::KEY_C:
            putDuckNearFinish();
            break;
        case Key::KEY_P:
            printPosition();
            break;
        default:
            break;
        }
    }
    mPlayerModifier->processKey(*key);
}

void Timerace::processButton(Velta::InputEvent& event)
{
    const Velta::ButtonEventInfo* button = event.getButtonEventInfo();
    if (!button || button->getEventType() != Velta::ButtonEventInfo::BUTTON_PRESSED) {
        return;
    }
    switch (button->getButtonNr()) {
    case BUTTON_LEFT:
        // Only the first click starts; every later one (also while "go"
        // shows) uses the selected item.
        if (!mRunning && mGoTime == 0) {
            mGoTime = std::max(mNow, 1LL);
            mMessage.show(GO_IMAGE);
        } else {
            mDuck->useSelectedItem(mNow);
        }
        break;
    case WHEEL_UP:
        mDuck->selectNextItem();
        break;
    case WHEEL_DOWN:
        mDuck->selectPreviousItem();
        break;
    default:
        break;
    }
}

void Timerace::moveDuckTo(float x, float y, float z)
{
    Velta::TransformationNode& place = *mDuck->getTransformationNode();
    place.reset();
    place.translate(x, y, z, false);
    mPlayerModifier->resetBody();
}

void Timerace::putDuckBack()
{
    const Course::Point3& start = Course::RESET_POINT;
    moveDuckTo(start.x, start.y, start.z);
    mFollower->setToPoint(toPoint(Course::RESET_FOLLOW), Course::RESET_HEADING);
    if (mOver) {
        mOver = false;
        mOverTime = 0;
        mMessage.hide();
        mFollower->setLookingBack(false);
    }
}

void Timerace::putDuckNearFinish()
{
    const Course::Point3& point = Course::NEAR_FINISH_POINT;
    moveDuckTo(point.x, point.y, point.z);
    mFollower->setToPoint(toPoint(Course::NEAR_FINISH_FOLLOW), Course::RESET_HEADING);
}

void Timerace::printPosition() const
{
    const Duck::Vec3 position = mDuck->getPosition();
    std::cout << "Position: " << position.x() << ", " << position.y() << ", " << position.z() << std::endl;
}

} // namespace Ripplejet
