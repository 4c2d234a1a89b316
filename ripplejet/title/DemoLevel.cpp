#include "title/DemoLevel.h"

#include "core/VeltaCore.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "input/ButtonEventInfo.h"
#include "input/InputEvent.h"
#include "input/MoveEventInfo.h"
#include "resource/Material.h"
#include "resource/RenderSettings.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "title/DemoScenery.h"
#include "display/TexturedQuad.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Overlay.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "sound/SoundChannel.h"
#include "sound/SoundManager.h"

#include <algorithm>

namespace Ripplejet {

namespace {

constexpr float PI = 3.1415927f;

/// The camera circles this point at this distance (scene units)...
constexpr float ORBIT_CENTRE_Y = 1.0f;
constexpr float ORBIT_RADIUS = 11.0f;
/// ...starting downstream on the near side, this high, turning this fast
/// (radians a second) by itself.
constexpr float START_YAW = 0.75f;
constexpr float START_PITCH = 0.3f;
constexpr float ORBIT_RATE = 0.05f;
constexpr float MIN_PITCH = 0.05f;
constexpr float MAX_PITCH = 1.2f;
/// Radians per window span of pointer movement.
constexpr float YAW_PER_SPAN = PI;
constexpr float PITCH_PER_SPAN = 0.8f;
/// How long "go!" stays up (milliseconds).
constexpr long long GO_SHOWN_FOR = 1000;

Velta::VeltaCore& core()
{
    return Velta::VeltaCore::getSingleton();
}

CppLib::SharedPtr<Velta::TextureSource> image(const char* name)
{
    return core().getResourceManager().getTextureManager().getTextureSource(name);
}

} // namespace

DemoLevel::DemoLevel() = default;

// The nodes leave their scenes as they go; the scenes stay the engine's.
DemoLevel::~DemoLevel() = default;

bool DemoLevel::load()
{
    if (mScene) {
        return true;
    }
    mScene = &core().getSceneManager().createSceneGraph();
    mScenery = std::make_unique<DemoScenery>();
    mScenery->build(*mScene->getRoot());
    buildCamera();
    buildSign();
    mYaw = START_YAW;
    mPitch = START_PITCH;
    aimCamera();
    return true;
}

void DemoLevel::buildCamera()
{
    CppLib::SharedPtr<Velta::RenderSettings> settings(new Velta::RenderSettings());
    settings->setShadingMode(Velta::RenderSettings::SHADE_SMOOTH);
    settings->setUseFog(false);
    settings->setUseLights(true);
    mCamera = CppLib::SharedPtr<Velta::Camera>(new Velta::Camera("camera"));
    Velta::CameraSettings& lens = mCamera->getCamSettings();
    lens.setRenderSettings(settings);
    lens.setFovY(50.0f);
    // The depth buffer has 16 bits: a near plane this far out keeps the
    // banks apart from the water to well past the finish.
    lens.setNearDistance(0.5);
    lens.setFarDistance(2000.0);

    auto node = std::make_unique<Velta::TransformationNode>("camera");
    mCameraNode = node.get();
    mCameraNode->setChild(*mCamera);
    mScene->getRoot()->attachChild(*mCameraNode);
    mNodes.push_back(std::move(node));
}

void DemoLevel::buildSign()
{
    mOverlay = &core().getSceneManager().createOverlay();
    CppLib::SharedPtr<Velta::RenderSettings> flat(new Velta::RenderSettings());
    flat->setShadingMode(Velta::RenderSettings::SHADE_FLAT);
    flat->setUseLights(false);
    mCamera->setOverlay(*mOverlay);
    mCamera->getOverlaySettings().setRenderSettings(flat);

    // A square image on a 4:3 screen: the quad is 0.75 times as wide as high.
    using Vec3 = TexturedQuad::Vec3;
    CppLib::SharedPtr<Velta::GeometryData> quad =
        TexturedQuad::create(Vec3(-0.5f, -0.5f, 0), Vec3(0.5f, -0.5f, 0), Vec3(0.5f, 0.5f, 0), Vec3(-0.5f, 0.5f, 0),
                             Vec3(0, 0, 1));
    mSignTexture = CppLib::SharedPtr<Velta::Texture2D>(new Velta::Texture2D());
    CppLib::SharedPtr<Velta::Material> material(new Velta::Material());
    material->setTexture(0, mSignTexture);
    material->setUseBlending(true);
    material->setUseAlphaTest(false);
    material->setBlendMode(Velta::Material::BLEND_ALPHA);

    auto object = std::make_unique<Velta::GeometryObject>("sign");
    auto subobject = std::make_unique<Velta::GeometrySubobject>("sign");
    subobject->setGeometry(quad, 0);
    object->addSubobject(std::move(subobject));
    object->setDefaultMaterial(0, material);
    auto node = std::make_unique<Velta::TransformationNode>("sign");
    node->setChild(*object);
    node->scale(0.3f, 0.4f, 1.0f, false);
    node->translate(0.5f, 0.76f, 0.0f, false);
    mSignNode = node.get();
    mNodes.push_back(std::move(object));
    mNodes.push_back(std::move(node));
}

void DemoLevel::start()
{
    showSign("overlays\\ready.png");
    playLoop("music.mp3", "music", 0.7f);
    playLoop("bgwater.mp3", "bgwater", 0.5f);
}

void DemoLevel::playLoop(const char* file, const char* channel, float volume)
{
    Velta::SoundManager& sound = core().getResourceManager().getSoundManager();
    CppLib::SharedPtr<Velta::SoundSource> source = sound.getSoundSource(file, false, false);
    if (source.isNull()) {
        return;
    }
    CppLib::SharedPtr<Velta::SoundChannel> playing = sound.createChannel(source, channel);
    if (playing.isNull()) {
        return;
    }
    playing->setVolume(volume);
    playing->setRepeat(true);
    playing->play();
    mChannels.push_back(playing);
}

void DemoLevel::showSign(const char* file)
{
    if (!mSignNode) {
        return;
    }
    mSignTexture->setTextureSource(image(file));
    if (!mSignNode->getParent()) {
        mOverlay->getRoot()->attachChild(*mSignNode);
    }
}

void DemoLevel::hideSign()
{
    if (mSignNode && mSignNode->getParent()) {
        mOverlay->getRoot()->detachChild(mSignNode->getNodeId());
    }
}

bool DemoLevel::isSignShown() const
{
    return mSignNode && mSignNode->getParent();
}

bool DemoLevel::processInputEvent(Velta::InputEvent& event)
{
    if (const Velta::MoveEventInfo* move = event.getMoveEventInfo()) {
        if (!mPointerSeen) {
            mPointerSeen = true;
            mPointerStartX = move->getX();
            mPointerStartY = move->getY();
        }
        mPointerX = move->getX();
        mPointerY = move->getY();
    } else if (const Velta::ButtonEventInfo* button = event.getButtonEventInfo()) {
        if (button->getEventType() == Velta::ButtonEventInfo::BUTTON_PRESSED && button->getButtonNr() == 1) {
            showSign("overlays\\go.png");
            mGoShown = true;
            mGoTime = mNow;
        }
    }
    return true;
}

void DemoLevel::update(long long timestamp)
{
    if (!mScene) {
        return;
    }
    if (mStartTime < 0) {
        mStartTime = timestamp;
    }
    mNow = timestamp;
    mScenery->update(timestamp);
    if (mGoShown && timestamp - mGoTime > GO_SHOWN_FOR) {
        mGoShown = false;
        hideSign();
    }
    const float seconds = static_cast<float>(timestamp - mStartTime) / 1000.0f;
    mYaw = START_YAW + ORBIT_RATE * seconds - (mPointerX - mPointerStartX) * YAW_PER_SPAN;
    mPitch = std::clamp(START_PITCH + (mPointerY - mPointerStartY) * PITCH_PER_SPAN, MIN_PITCH, MAX_PITCH);
    aimCamera();
}

void DemoLevel::aimCamera()
{
    // Back from the centre by the radius, raised by the pitch, turned by the
    // yaw, looking at the centre.
    mCameraNode->reset();
    mCameraNode->translate(0.0f, 0.0f, ORBIT_RADIUS, false);
    mCameraNode->rotateX(-mPitch, false);
    mCameraNode->rotateY(mYaw, false);
    mCameraNode->translate(0.0f, ORBIT_CENTRE_Y, 0.0f, false);
}

} // namespace Ripplejet
