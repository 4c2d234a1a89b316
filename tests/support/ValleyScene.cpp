#include "support/ValleyScene.h"

#include "Course.h"

#include "core/VeltaCore.h"
#include "geometry/GeometryManager.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "particles/PointEmitter.h"
#include "particles/RotateForceModel.h"
#include "resource/Material.h"
#include "resource/ObjectManager.h"
#include "resource/RenderSettings.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/Light.h"
#include "scene/ObjectNode.h"
#include "scene/SceneRoot.h"
#include "scene/TransformationNode.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"
#include "water/Water.h"

#include <cmath>

namespace VeltaTest {

namespace {

using namespace Velta;
namespace Course = VeltaTools::Course;

ResourceManager& resources()
{
    return VeltaCore::getSingleton().getResourceManager();
}

CppLib::SharedPtr<TextureSource> image(const std::string& name)
{
    return resources().getTextureManager().getTextureSource(name);
}

/// The sparkles of the first 30 bananas are drawn.
constexpr int SPARKLING_ITEMS = 30;

/// Where the player's duck waits for the start.
const Point DUCK_START(Ripplejet::Course::PLAYER_START.x, Ripplejet::Course::PLAYER_START.y,
                       Ripplejet::Course::PLAYER_START.z);

} // namespace

std::unique_ptr<Terrain> buildValleyTerrain()
{
    auto terrain = std::make_unique<Terrain>(1, 1);
    terrain->initializeTerrain(8, 0, Course::TILE_SIZE);
    const CppLib::SharedPtr<TextureSource> grass = image("grasscolor.png");
    const CppLib::SharedPtr<TextureSource> river = image("rivercolor.png");
    Terrain::Tile& tile = *terrain->getTile(0, 0);
    tile.setEnabled(true);
    tile.setMaxHeight(Course::MAX_HEIGHT);
    tile.load(image("heightmap.pcx"), 0, 0);
    tile.setColorMap(image("primcolor.png"));
    tile.setBaseMap(image("rockscolor.png"), 10.0f);
    if (!grass.isNull()) {
        tile.addTextureLayer(grass, image("grassalpha.png"), 15.0f);
    }
    if (!river.isNull()) {
        tile.addTextureLayer(river, image("riveralpha.png"), 20.0f);
    }
    tile.setLightMap(tile.getSlopeMap(), 0.4f, 0.6f);
    tile.updateTile();
    return terrain;
}

ValleyScene::ValleyScene(SceneRoot& scene)
{
    mLevel = &own(new Branch("level"));
    scene.getRoot()->attachChild(*mLevel);
    buildLights();
    for (int part = 0; part < PART_COUNT; ++part) {
        mParts[part] = &own(new Branch("part"));
        mLevel->attachChild(*mParts[part]);
        mShown[part] = true;
    }
    std::unique_ptr<Terrain> terrain = buildValleyTerrain();
    mTerrain = terrain.get();
    mNodes.push_back(std::move(terrain));
    mParts[TERRAIN]->attachChild(*mTerrain);
    buildModels();
    buildStones();
    buildWater();
    buildSparkles();
    buildCamera(scene);
}

ValleyScene::~ValleyScene()
{
    // Children first: each node leaves its parent as it goes.
    while (!mNodes.empty()) {
        mNodes.pop_back();
    }
}

template <typename T>
T& ValleyScene::own(T* node)
{
    mNodes.emplace_back(node);
    return *node;
}

TransformationNode& ValleyScene::place(Node& child, Branch& parent)
{
    TransformationNode& holder = own(new TransformationNode("placed"));
    holder.setChild(child);
    parent.attachChild(holder);
    return holder;
}

void ValleyScene::buildLights()
{
    Light& first = own(new Light("light"));
    first.setLightType(Light::DIRECTIONAL);
    first.setLinearAttenuation(0.01f);
    TransformationNode& firstHolder = place(first, *mLevel);
    firstHolder.translate(-3, 3, 3, false);
    firstHolder.rotateX(-2.5132742f, false);
    firstHolder.rotateY(0.7853982f, false);

    Light& second = own(new Light("light"));
    second.setLightType(Light::DIRECTIONAL);
    second.setAmbientColor(Color(0.42f, 0.38f, 0.4f, 1.0f));
    second.setDiffuseColor(Color(1, 1, 1, 1));
    second.setLinearAttenuation(0.01f);
    TransformationNode& secondHolder = place(second, *mLevel);
    secondHolder.translate(-3, 3, 3, false);
    secondHolder.rotateX(-2.5132742f, false);
}

Node* ValleyScene::addModel(const std::string& file, Branch& parent)
{
    ObjectNode* model = resources().getObjectManager().createObject(file);
    if (!model) {
        mMissingModels.push_back(file);
        return nullptr;
    }
    own(model);
    return &place(*model, parent);
}

void ValleyScene::buildModels()
{
    for (const Course::Prop& prop : Course::props()) {
        const bool sky = prop.model == "sky.ms3d";
        ObjectNode* model = resources().getObjectManager().createObject(prop.model);
        if (!model) {
            mMissingModels.push_back(prop.model);
            continue;
        }
        own(model);
        if (prop.model == "banner.ms3d") {
            model->setProperty("type", "start");
        } else if (prop.model == "finishbanner.ms3d") {
            model->setProperty("type", "finish");
        }
        TransformationNode& holder = place(*model, *mParts[sky ? SKY : SCENERY]);
        holder.scale(prop.scaleX, prop.scaleY, prop.scaleZ, false);
        if (sky) {
            holder.rotateX(-3.1415927f, false);
            // Drawn unlit: its own settings on its material.
            CppLib::SharedPtr<RenderSettings> unlit(new RenderSettings());
            unlit->setUseLights(false);
            if (auto* object = dynamic_cast<GeometryObject*>(model)) {
                const CppLib::SharedPtr<Material> material = object->getDefaultMaterial(0);
                if (!material.isNull()) {
                    material->setRenderSettings(unlit);
                }
            }
        } else {
            holder.rotateY(prop.rotateY, false);
        }
        holder.translate(prop.position.x, prop.position.y, prop.position.z, false);
    }
}

void ValleyScene::buildStones()
{
    for (const Course::Stone& stone : Course::stones()) {
        Node* holder = addModel("stone1.ms3d", *mParts[SCENERY]);
        if (!holder) {
            continue;
        }
        auto& placed = static_cast<TransformationNode&>(*holder);
        const float ground = -mTerrain->getDistance(Point(stone.x, 0.0f, stone.z));
        placed.scale(stone.scaleX, stone.scaleY, stone.scaleZ, false);
        placed.rotateY(stone.rotateY, false);
        placed.translate(stone.x, ground, stone.z, false);
    }
}

void ValleyScene::buildWater()
{
    mWater = &own(new Water());
    mWater->setTerrain(*mTerrain);
    mParts[WATER]->attachChild(*mWater);
    for (const Course::CrossSection& section : Course::crossSections()) {
        mWater->addQuad(CppLib::TVector<float, 4>(section.left.x, section.left.y, section.left.z, 1.0f),
                        CppLib::TVector<float, 4>(section.right.x, section.right.y, section.right.z, 1.0f),
                        section.flow);
    }
    mWater->initialize();
}

void ValleyScene::buildSparkles()
{
    auto* emitter = new PointEmitter();
    emitter->setInitPointCount(10);
    emitter->setPointAge(0, 0);
    emitter->setPointsPerSecond(0);
    emitter->setSphereSize(0.6f, 0.9f);
    emitter->setInitialVelocity(CppLib::TVector<float, 3>(0.0f, 0.0f, 0.01f));
    mItemParticles.setForceModel(CppLib::SharedPtr<ParticleEngine::ForceModel>(new RotateForceModel()));
    mItemParticles.setEmitter(CppLib::SharedPtr<ParticleEngine::Emitter>(emitter));
    mItemParticles.setRandomSeed(7);
    mItemParticles.initialize();
    mItemParticles.start();
    const CppLib::SharedPtr<Geometry> particles = mItemParticles.getParticleData().getGeometryData();
    resources().getGeometryManager().registerGeometry("itemparticles", particles);

    // Every item draws the shared particles with its own sprite material.
    int sparkling = 0;
    for (const Ripplejet::Course::ItemPlace& item : Ripplejet::Course::items()) {
        if (item.type != "bonus" || ++sparkling > SPARKLING_ITEMS) {
            continue;
        }
        CppLib::SharedPtr<Material> material(new Material());
        material->setUsePointSprites(true);
        material->setUseAlphaTest(true);
        material->setUseBlending(false);
        material->setSpriteSize(3.0f);
        material->setTexture(0, CppLib::SharedPtr<Texture>(new Texture2D(image("particles\\krankheit.png"))));
        auto& object = own(new GeometryObject("sparkles"));
        auto subobject = std::make_unique<GeometrySubobject>("sparkles");
        subobject->setGeometry(particles, 0);
        object.addSubobject(std::move(subobject));
        object.setDefaultMaterial(0, material);
        const float ground = -mTerrain->getDistance(Point(item.x, 0.0f, item.z));
        place(object, *mParts[SPARKLES]).translate(item.x, ground + item.y, item.z, false);
    }
}

void ValleyScene::buildCamera(SceneRoot& scene)
{
    mCamera = CppLib::SharedPtr<Camera>(new Camera("camera"));
    CppLib::SharedPtr<RenderSettings> settings(new RenderSettings());
    settings->setShadingMode(RenderSettings::SHADE_SMOOTH);
    settings->setUseFog(false);
    settings->setUseLights(true);
    mCamera->getCamSettings().setRenderSettings(settings);
    mCamera->getCamSettings().setFovY(50.0f);
    mCamera->getCamSettings().setFarDistance(2000.0);

    mEye = &own(new TransformationNode("camera"));
    mEye->setChild(*mCamera);
    placeCamera(0);
    scene.getRoot()->attachChild(*mEye);
}

void ValleyScene::placeCamera(unsigned int section)
{
    const std::vector<Course::CrossSection>& sections = Course::crossSections();
    Point duck = DUCK_START;
    float heading = 0.0f;
    if (section > 0 && section + 1 < sections.size()) {
        const Course::CrossSection& here = sections[section];
        const Course::CrossSection& next = sections[section + 1];
        const auto middle = [](const Course::CrossSection& cut) {
            return Point((cut.left.x + cut.right.x) / 2, (cut.left.y + cut.right.y) / 2,
                         (cut.left.z + cut.right.z) / 2);
        };
        duck = middle(here);
        const Point ahead = middle(next);
        // Heading 0 faces +z; turning by a positive angle about y faces +x.
        heading = std::atan2(ahead.x() - duck.x(), ahead.z() - duck.z());
    }
    // The camera follower settled behind the duck: its offset, the duck's
    // heading and the duck's place.
    Transformation offset;
    offset.translate(0.0f, 1.1f, 4.0f, false);
    offset.rotateX(-0.2617994f, false);
    offset.rotateY(3.1415927f, false);
    mEye->reset();
    mEye->multMatrix(offset.getLocalTransformation(), 0.0f);
    mEye->rotateY(heading, false);
    mEye->translate(duck.toVector3(), false);
}

void ValleyScene::setFog(bool fog)
{
    mCamera->getCamSettings().getRenderSettings()->setUseFog(fog);
}

void ValleyScene::setShown(Part part, bool shown)
{
    mShown[part] = shown;
    // Parts keep their drawing order: all come off and the shown go back.
    for (Branch* holder : mParts) {
        mLevel->detachChild(holder->getNodeId());
    }
    for (int index = 0; index < PART_COUNT; ++index) {
        if (mShown[index]) {
            mLevel->attachChild(*mParts[index]);
        }
    }
}

void ValleyScene::update(long long timestamp)
{
    mItemParticles.update(timestamp);
}

} // namespace VeltaTest
