#include "course/CourseBuilder.h"

#include "course/Course.h"
#include "level/GameSound.h"
#include "level/Models.h"
#include "level/NodeStore.h"

#include "core/VeltaCore.h"
#include "geometry/GeometryObject.h"
#include "resource/Material.h"
#include "resource/RenderSettings.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "scene/BoundingBox.h"
#include "scene/Branch.h"
#include "scene/Light.h"
#include "scene/ObjectNode.h"
#include "scene/TransformationNode.h"
#include "sound/SoundChannel.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"
#include "water/Water.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Ripplejet {

namespace {

constexpr float PI = 3.1415927f;

/// Both lights stand at the same place and look down the same way; the
/// first is also turned an eighth about y.
constexpr float LIGHT_X = -3.0f, LIGHT_Y = 3.0f, LIGHT_Z = 3.0f;
constexpr float LIGHT_TILT = -2.5132742f;
constexpr float LIGHT_TURN = 0.7853982f;
constexpr float LIGHT_ATTENUATION = 0.01f;

/// The loops are mixed under the effects.
constexpr float MUSIC_VOLUME = 0.7f;
constexpr float WATER_VOLUME = 0.5f;

Velta::ResourceManager& resources()
{
    return Velta::VeltaCore::getSingleton().getResourceManager();
}

CppLib::SharedPtr<Velta::TextureSource> image(const char* name)
{
    return resources().getTextureManager().getTextureSource(name);
}

/// How many of the water's quads hold `local` (in the water's frame).
int quadsHolding(const Velta::Water& water, const Velta::Point& local)
{
    int holding = 0;
    for (unsigned int index = 0; index < water.getQuadCount(); ++index) {
        float u;
        float v;
        holding += water.getQuad(index)->getCoordinates(local, u, v) ? 1 : 0;
    }
    return holding;
}

/// Whether ground within `box` lies wholly under the water's surface, inside
/// it by a margin on every side, so that it is always seen through the water
/// once.
bool liesUnderWater(const Velta::Water& water, const Velta::BoundingBox& box)
{
    // The surface rises and falls only along the river, so its lowest point
    // over the box is at a corner. The margin keeps covered ground away from
    // the water's edges, which a flat look could see past.
    constexpr float SIDE_MARGIN = 1.0f;
    constexpr float DEPTH_MARGIN = 0.05f;
    const float top = box.getMax().y();
    const float left = box.getMin().x() - SIDE_MARGIN;
    const float right = box.getMax().x() + SIDE_MARGIN;
    const float near = box.getMin().z() - SIDE_MARGIN;
    const float far = box.getMax().z() + SIDE_MARGIN;
    const float middleX = (left + right) / 2.0f;
    const float middleZ = (near + far) / 2.0f;
    for (const auto& [x, z] : {std::pair(left, near), std::pair(left, far), std::pair(right, near),
                               std::pair(right, far), std::pair(middleX, middleZ)}) {
        const Velta::Water::PointHandle handle = water.getPointHandle(CppLib::TVector<float, 4>(x, top, z, 1.0f));
        // Where the river's quads overlap at a sharp bend, its water is drawn
        // and seen twice: that ground stays as it is.
        if (!handle.hasQuad() || water.getDistance(handle) > -DEPTH_MARGIN ||
            quadsHolding(water, handle.getLocalPoint()) > 1) {
            return false;
        }
    }
    return true;
}

CppLib::TVector<float, 4> bankPoint(const Course::Point3& p)
{
    return CppLib::TVector<float, 4>(p.x, p.y, p.z, 1.0f);
}

/// The sky lights itself: drawn without the scene's lights.
void drawUnlit(Velta::Node& model)
{
    auto* object = dynamic_cast<Velta::GeometryObject*>(&model);
    const CppLib::SharedPtr<Velta::Material> material =
        object ? object->getDefaultMaterial(0) : CppLib::SharedPtr<Velta::Material>();
    if (material.isNull()) {
        return;
    }
    CppLib::SharedPtr<Velta::RenderSettings> unlit(new Velta::RenderSettings());
    unlit->setUseLights(false);
    material->setRenderSettings(unlit);
}

} // namespace

CourseBuilder::CourseBuilder(NodeStore& nodes) : mNodes(nodes) {}

Velta::Color CourseBuilder::getBackgroundColor()
{
    const auto byte = [](unsigned char value) { return static_cast<float>(value) / 255.0f; };
    return Velta::Color(byte(Course::SKY_HAZE.r), byte(Course::SKY_HAZE.g), byte(Course::SKY_HAZE.b), 1.0f);
}

void CourseBuilder::build(Velta::Branch& level)
{
    buildLights(level);
    setUpTerrain(level);
    buildScenery(level);
    buildStones(level);
    buildWater(level);
    coverRiverBed();
    startLoops();
}

Velta::TransformationNode& CourseBuilder::place(Velta::Node& child, Velta::Branch& level)
{
    auto& holder = mNodes.keep(std::make_unique<Velta::TransformationNode>(child.getName()));
    holder.setChild(child);
    level.attachChild(holder);
    return holder;
}

Velta::Node* CourseBuilder::createModel(const std::string& file)
{
    Velta::ObjectNode* model = Models::create(file);
    return model ? &mNodes.keep(model) : nullptr;
}

void CourseBuilder::buildLights(Velta::Branch& level)
{
    auto& sun = mNodes.keep(std::make_unique<Velta::Light>("sun"));
    sun.setLightType(Velta::Light::DIRECTIONAL);
    sun.setLinearAttenuation(LIGHT_ATTENUATION);
    Velta::TransformationNode& sunPlace = place(sun, level);
    sunPlace.translate(LIGHT_X, LIGHT_Y, LIGHT_Z, false);
    sunPlace.rotateX(LIGHT_TILT, false);
    sunPlace.rotateY(LIGHT_TURN, false);

    auto& fill = mNodes.keep(std::make_unique<Velta::Light>("fill"));
    fill.setLightType(Velta::Light::DIRECTIONAL);
    fill.setAmbientColor(Velta::Color(0.42f, 0.38f, 0.4f, 1.0f));
    fill.setDiffuseColor(Velta::Color(1.0f, 1.0f, 1.0f, 1.0f));
    fill.setLinearAttenuation(LIGHT_ATTENUATION);
    Velta::TransformationNode& fillPlace = place(fill, level);
    fillPlace.translate(LIGHT_X, LIGHT_Y, LIGHT_Z, false);
    fillPlace.rotateX(LIGHT_TILT, false);
    mLights = {{&sun, &sunPlace}, {&fill, &fillPlace}};
}

void CourseBuilder::buildTerrain(Velta::Branch& level)
{
    setUpTerrain(level);
    mTerrain->getTile(0, 0)->updateTile();
}

void CourseBuilder::setUpTerrain(Velta::Branch& level)
{
    const CppLib::SharedPtr<Velta::TextureSource> heights = image("heightmap.pcx");
    mTerrain = &mNodes.keep(std::make_unique<Velta::Terrain>(1, 1));
    place(*mTerrain, level);
    mTerrain->initializeTerrain(Course::PATCH_DETAIL, Course::PATCH_LEVELS, Course::TILE_SIZE);
    const CppLib::SharedPtr<Velta::TextureSource> grass = image("grasscolor.png");
    const CppLib::SharedPtr<Velta::TextureSource> grassAlpha = image("grassalpha.png");
    const CppLib::SharedPtr<Velta::TextureSource> river = image("rivercolor.png");
    const CppLib::SharedPtr<Velta::TextureSource> riverAlpha = image("riveralpha.png");

    Velta::Terrain::Tile* tile = mTerrain->getTile(0, 0);
    tile->setEnabled(true);
    tile->setMaxHeight(Course::MAX_HEIGHT);
    tile->load(heights, 0, 0);
    tile->setColorMap(image("primcolor.png"));
    tile->setBaseMap(image("rockscolor.png"), Course::ROCK_SCALE);
    if (!grass.isNull()) {
        tile->addTextureLayer(grass, grassAlpha, Course::GRASS_SCALE);
    }
    if (!river.isNull()) {
        tile->addTextureLayer(river, riverAlpha, Course::RIVER_SCALE);
    }
    tile->setLightMap(tile->getSlopeMap(), Course::LIGHT_SCALE, Course::LIGHT_OFFSET);
}

void CourseBuilder::coverRiverBed()
{
    Velta::Terrain::Tile* tile = mTerrain->getTile(0, 0);
    // The bed is seen through the water from wherever the camera is above
    // it: one layer with the water's colour in it costs a software renderer
    // about a twentieth of the frame less than the bed and the water over it.
    const CppLib::SharedPtr<Velta::Material> waterMaterial = mWater->getDefaultMaterial(0);
    Velta::Color water = getLitWaterColor();
    // The water is blended over the bed by its blend colour's alpha.
    water.a = waterMaterial->getBlendColor().a;
    // The test outlives this builder: it holds the water, which lives as
    // long as the terrain.
    const Velta::Water* river = mWater;
    tile->setCover([river](const Velta::BoundingBox& box) { return liesUnderWater(*river, box); }, water);
    waterMaterial->setSkipsMarkedPixels(true);
    tile->updateTile();
}

Velta::Color CourseBuilder::getLitWaterColor() const
{
    // OpenGL's lighting of the water's colour (ambient and diffuse alike)
    // on a surface facing straight up: the scene's ambient of 0.2, and each
    // directional light's ambient and diffuse by how high it stands.
    const Velta::Color base = mWater ? mWater->getDefaultMaterial(0)->getDefaultVertexColor() : Velta::Color();
    float light[3] = {0.2f, 0.2f, 0.2f};
    for (const auto& [source, place] : mLights) {
        // A directional light shines from its node's +z.
        const CppLib::TVector<float, 4> towardLight =
            place->getLocalTransformation() * CppLib::TVector<float, 4>(0.0f, 0.0f, 1.0f, 0.0f);
        const float length = std::sqrt(towardLight.x() * towardLight.x() + towardLight.y() * towardLight.y() +
                                       towardLight.z() * towardLight.z());
        const float facing = length > 0.0f ? std::max(towardLight.y() / length, 0.0f) : 0.0f;
        const Velta::Color& ambient = source->getAmbientColor();
        const Velta::Color& diffuse = source->getDiffuseColor();
        light[0] += ambient.r + facing * diffuse.r;
        light[1] += ambient.g + facing * diffuse.g;
        light[2] += ambient.b + facing * diffuse.b;
    }
    const auto lit = [](float colour, float amount) { return std::min(colour * amount, 1.0f); };
    return Velta::Color(lit(base.r, light[0]), lit(base.g, light[1]), lit(base.b, light[2]), 1.0f);
}

void CourseBuilder::buildScenery(Velta::Branch& level)
{
    for (const Course::Prop& prop : Course::props()) {
        Velta::Node* model = createModel(prop.model);
        if (!model) {
            continue;
        }
        // The duck's query finds the start and finish lines by this.
        if (!prop.type.empty()) {
            model->setProperty("type", prop.type);
        }
        Velta::TransformationNode& holder = place(*model, level);
        holder.scale(prop.scaleX, prop.scaleY, prop.scaleZ, false);
        if (prop.model == Course::SKY_MODEL) {
            // The dome is made upside down.
            holder.rotateX(-PI, false);
            drawUnlit(*model);
        } else {
            holder.rotateY(prop.rotateY, false);
        }
        holder.translate(prop.position.x, prop.position.y, prop.position.z, false);
    }
}

void CourseBuilder::buildStones(Velta::Branch& level)
{
    for (const Course::Stone& stone : Course::stones()) {
        Velta::Node* model = createModel(Course::STONE_MODEL);
        if (!model) {
            continue;
        }
        const float ground = -mTerrain->getDistance(Velta::Point(stone.x, 0.0f, stone.z));
        Velta::TransformationNode& holder = place(*model, level);
        holder.scale(stone.scaleX, stone.scaleY, stone.scaleZ, false);
        holder.rotateY(stone.rotateY, false);
        holder.translate(stone.x, ground, stone.z, false);
    }
}

void CourseBuilder::buildWater(Velta::Branch& level)
{
    mWater = &mNodes.keep(std::make_unique<Velta::Water>());
    mWater->setTerrain(*mTerrain);
    level.attachChild(*mWater);
    // The water turns a section's flow into a velocity to the left of the
    // line from its first bank point to its second; with the table's banks
    // that is up the river, toward the start. Given the other way round,
    // the river runs downhill from the start to the finish, and a negative
    // flow (the backwater past the finish) runs back toward it.
    for (const Course::CrossSection& section : Course::crossSections()) {
        mWater->addQuad(bankPoint(section.right), bankPoint(section.left), section.flow);
    }
    mWater->initialize();
}

void CourseBuilder::startLoops()
{
    struct Loop {
        const char* file;
        const char* channel;
        float volume;
    };
    for (const Loop& loop : {Loop{"bgwater.mp3", "bgwater", WATER_VOLUME}, Loop{"music.mp3", "music", MUSIC_VOLUME}}) {
        const CppLib::SharedPtr<Velta::SoundChannel> channel = GameSound::createChannel(loop.file, loop.channel, false);
        if (channel.isNull()) {
            continue;
        }
        channel->setVolume(loop.volume);
        GameSound::playLooping(channel);
        mLoops.push_back(channel);
    }
}

} // namespace Ripplejet
