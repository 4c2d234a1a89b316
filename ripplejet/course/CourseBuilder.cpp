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
#include "scene/Branch.h"
#include "scene/Light.h"
#include "scene/ObjectNode.h"
#include "scene/TransformationNode.h"
#include "sound/SoundChannel.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"
#include "water/Water.h"

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
    buildTerrain(level);
    buildScenery(level);
    buildStones(level);
    buildWater(level);
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
}

void CourseBuilder::buildTerrain(Velta::Branch& level)
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
    tile->updateTile();
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
