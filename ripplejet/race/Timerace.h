#pragma once

#include "cpplib/SharedPtr.h"
#include "level/Level.h"
#include "race/RaceMessage.h"

#include <memory>

namespace Velta {
class Camera;
class InputEvent;
class SceneGraph;
class SoundChannel;
class TransformationNode;
} // namespace Velta

namespace Ripplejet {

class Duck;
class DuckFollower;
class DuckModifier;

/// The race: the player's duck against the clock down the river, from the
/// start banner to the finish banner, among the items and nine computer
/// ducks that drift with the current.
///
/// "ready" shows until the first click; the click shows "go" and a second
/// later the duck may move; the race is won at the finish ("yes") or lost
/// when the duck's health runs out ("game over"). Keys: e and q (and the
/// wheel) select an item, the left button uses it; r puts the duck back at
/// the start, c near the finish, p prints its position.
class Timerace : public Level {
public:
    /// How long "go" shows fully, and when the duck is let go (ms after the
    /// click); how long the end message takes to fade in.
    static constexpr long long GO_FADE_FROM = 400;
    static constexpr long long GO_LENGTH = 1000;
    static constexpr long long END_FADE = 400;

    Timerace();
    ~Timerace() override;

    bool processInputEvent(Velta::InputEvent& event) override;
    bool load() override;
    void start() override;
    CppLib::SharedPtr<Velta::Camera> getCamera() override { return mCamera; }
    void update(long long timestamp) override;
    /// Only the first end counts.
    void raceOver(bool won) override;

    /// Null before load().
    Duck* getPlayerDuck() const { return mDuck; }
    DuckModifier* getPlayerModifier() const override { return mPlayerModifier; }
    const char* getRaceResult() const override;
    long long getRaceTime() const override;
    DuckFollower* getFollower() const { return mFollower.get(); }
    Velta::SceneGraph* getSceneGraph() const { return mSceneGraph; }
    const RaceMessage& getMessage() const { return mMessage; }

    bool isRunning() const { return mRunning; }
    bool isOver() const { return mOver; }
    long long getGoTime() const { return mGoTime; }

    /// Puts the duck back at the start (r) or near the finish (c).
    void putDuckBack();
    void putDuckNearFinish();

private:
    void placeItemsAndDucks(Velta::SceneRoot& scene);
    void buildCamera();
    void processKey(Velta::InputEvent& event);
    void processButton(Velta::InputEvent& event);
    void moveDuckTo(float x, float y, float z);
    void printPosition() const;

    Duck* mDuck = nullptr;
    Velta::SceneGraph* mSceneGraph = nullptr;
    DuckModifier* mPlayerModifier = nullptr;
    CppLib::SharedPtr<Velta::Camera> mCamera;
    Velta::TransformationNode* mCameraNode = nullptr;
    CppLib::SharedPtr<DuckFollower> mFollower;
    /// Timestamps (ms): the frame being played, the click, the end; 0 = none.
    long long mNow = 0;
    long long mGoTime = 0;
    long long mOverTime = 0;
    bool mRunning = false;
    bool mOver = false;
    bool mWon = false;
    RaceMessage mMessage;
    CppLib::SharedPtr<Velta::SoundChannel> mFinishSound;
    CppLib::SharedPtr<Velta::SoundChannel> mLooseSound;
};

} // namespace Ripplejet
