#pragma once

#include "cpplib/SharedPtr.h"
#include "level/Level.h"

#include <memory>
#include <vector>

namespace Velta {
class Camera;
class InputEvent;
class Node;
class Overlay;
class SceneGraph;
class SoundChannel;
class Texture2D;
class TransformationNode;
} // namespace Velta

namespace Ripplejet {

class DemoScenery;

/// The title scene, played until the race exists: the ducks turning on the
/// river at the start line, seen by a camera that circles them slowly and
/// that the pointer turns (left and right around them, up and down in
/// height), with the "ready" sign on screen, the music and the sound of
/// the water. A click answers "go!" for a second.
///
/// Made by the level manager and owned by the application; destroy it
/// before the engine stops.
class DemoLevel : public Level {
public:
    /// Needs a started engine core.
    DemoLevel();
    ~DemoLevel() override;

    /// Pointer moves (in window spans, from the window manager) turn the
    /// camera; a left click shows "go!". Consumes every event.
    bool processInputEvent(Velta::InputEvent& event) override;

    /// Builds the scene, the camera and its overlay once; true.
    bool load() override;

    /// Shows the "ready" sign and starts the music and the water.
    void start() override;

    CppLib::SharedPtr<Velta::Camera> getCamera() override { return mCamera; }

    /// Moves the camera on its circle and takes the "go!" sign down after
    /// a second.
    void update(long long timestamp) override;

    /// Null before load().
    const DemoScenery* getScenery() const { return mScenery.get(); }
    /// Whether a sign is on screen.
    bool isSignShown() const;

    /// The camera's angle around the ducks and its height angle (radians).
    float getCameraYaw() const { return mYaw; }
    float getCameraPitch() const { return mPitch; }

private:
    void buildCamera();
    void buildSign();
    void showSign(const char* image);
    void hideSign();
    void aimCamera();
    void playLoop(const char* file, const char* channel, float volume);

    Velta::SceneGraph* mScene = nullptr;
    Velta::Overlay* mOverlay = nullptr;
    std::unique_ptr<DemoScenery> mScenery;
    std::vector<std::unique_ptr<Velta::Node>> mNodes;
    CppLib::SharedPtr<Velta::Camera> mCamera;
    Velta::TransformationNode* mCameraNode = nullptr;
    Velta::TransformationNode* mSignNode = nullptr;
    CppLib::SharedPtr<Velta::Texture2D> mSignTexture;
    std::vector<CppLib::SharedPtr<Velta::SoundChannel>> mChannels;

    /// The pointer in window spans (see WindowManager); the camera follows
    /// how far it moved from where it was first seen.
    bool mPointerSeen = false;
    float mPointerStartX = 0.0f;
    float mPointerStartY = 0.0f;
    float mPointerX = 0.0f;
    float mPointerY = 0.0f;
    /// Timestamps (milliseconds): the first update, the last one, and when
    /// "go!" was shown.
    long long mStartTime = -1;
    long long mNow = 0;
    long long mGoTime = 0;
    bool mGoShown = false;
    float mYaw = 0.0f;
    float mPitch = 0.0f;
};

} // namespace Ripplejet
