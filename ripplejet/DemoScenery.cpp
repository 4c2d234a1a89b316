#include "ripplejet/DemoScenery.h"

#include "core/EventManager.h"
#include "core/VeltaCore.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "particles/VelocityModifier.h"
#include "resource/Material.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "ripplejet/TexturedQuad.h"
#include "scene/Branch.h"
#include "scene/Light.h"
#include "scene/ObjectNode.h"
#include "scene/TransformationNode.h"

namespace Ripplejet {

namespace {

constexpr float PI = 3.1415927f;

/// Height of the grass above the water, and where the banks reach it.
constexpr float BANK_HEIGHT = 0.35f;
constexpr float BANK_TOP = DemoScenery::RIVER_HALF_WIDTH + 0.8f;
/// The river and the land run this far along x and z from the origin.
constexpr float REACH = 200.0f;
/// The water's surface above the river bed, and how high ducks ride on it.
constexpr float WATER_LEVEL = 0.1f;
constexpr float WATERLINE = 0.16f;

Velta::VeltaCore& core()
{
    return Velta::VeltaCore::getSingleton();
}

} // namespace

DemoScenery::DemoScenery() = default;

DemoScenery::~DemoScenery()
{
    // The event manager keeps running them until the engine stops; they
    // must not move nodes that are gone.
    for (const auto& modifier : mModifiers) {
        modifier->setState(Velta::LogicElement::INACTIVE);
    }
}

template <typename T>
T& DemoScenery::keep(std::unique_ptr<T> node)
{
    T& kept = *node;
    mNodes.push_back(std::move(node));
    return kept;
}

void DemoScenery::build(Velta::Branch& root)
{
    buildLights(root);
    buildGround(root);
    buildScenery(root);
    buildRacers(root);
    buildSky(root);
}

void DemoScenery::buildSky(Velta::Branch& root)
{
    // The dome is made upside down; turned back about x, as the course does.
    Velta::TransformationNode* sky = placeModel(root, "sky.ms3d", {0, -20, 0}, {900, 900, 900}, 0);
    if (!sky) {
        return;
    }
    sky->rotateX(-PI, true);
    // Opaque surfaces are drawn in the order they were attached: last, the
    // sky is drawn only where nothing covers it. Without the alpha test the
    // renderer can drop the covered part before texturing it.
    auto* dome = dynamic_cast<Velta::GeometryObject*>(sky->getChild());
    if (dome && !dome->getDefaultMaterial(0).isNull()) {
        CppLib::SharedPtr<Velta::Material> material(new Velta::Material(*dome->getDefaultMaterial(0)));
        material->setUseAlphaTest(false);
        dome->setDefaultMaterial(0, material);
    }
}

void DemoScenery::buildLights(Velta::Branch& root)
{
    // Low sunlight from over the near bank, and a softer fill light with a
    // warm ambient part so the shadowed sides are not black.
    auto& sun = keep(std::make_unique<Velta::Light>("sun"));
    sun.setLightType(Velta::Light::DIRECTIONAL);
    sun.setLinearAttenuation(0.01f);
    auto& sunNode = keep(std::make_unique<Velta::TransformationNode>("sun"));
    sunNode.setChild(sun);
    sunNode.translate(-3.0f, 3.0f, 3.0f, false);
    sunNode.rotateX(-2.5132742f, false);
    sunNode.rotateY(0.7853982f, false);
    root.attachChild(sunNode);

    auto& fill = keep(std::make_unique<Velta::Light>("fill"));
    fill.setLightType(Velta::Light::DIRECTIONAL);
    fill.setAmbientColor(Velta::Color(0.42f, 0.38f, 0.4f, 1.0f));
    fill.setDiffuseColor(Velta::Color(1.0f, 1.0f, 1.0f, 1.0f));
    fill.setLinearAttenuation(0.01f);
    auto& fillNode = keep(std::make_unique<Velta::TransformationNode>("fill"));
    fillNode.setChild(fill);
    fillNode.translate(-3.0f, 3.0f, 3.0f, false);
    fillNode.rotateX(-2.5132742f, false);
    root.attachChild(fillNode);
}

CppLib::SharedPtr<Velta::Material> DemoScenery::makeGroundMaterial(const std::string& file) const
{
    CppLib::SharedPtr<Velta::Material> material(new Velta::Material());
    // Lit white: the texture gives the colour.
    material->setUseMaterialColor(true);
    material->setUseAlphaTest(false);
    CppLib::SharedPtr<Velta::TextureSource> image =
        core().getResourceManager().getTextureManager().getTextureSource(file);
    if (!image.isNull()) {
        CppLib::SharedPtr<Velta::Texture2D> texture(new Velta::Texture2D(image));
        // Mip-maps without blending between levels: the ground fills most
        // of the screen, and the software renderer pays for every sample.
        texture->setGenerateMipMaps(true);
        texture->setAllFilters(Velta::Texture::LINEAR);
        texture->setMinFilter(Velta::Texture::MIPMAP);
        texture->setMipMapFilter(Velta::Texture::NEAREST, Velta::Texture::LINEAR);
        material->setTexture(0, texture);
    }
    return material;
}

void DemoScenery::buildGround(Velta::Branch& root)
{
    struct Strip {
        Vec3 a, b, c, d, normal;
        const char* texture;
        float repeatS, repeatT;
    };
    const float w = RIVER_HALF_WIDTH;
    const float h = BANK_HEIGHT;
    const float top = BANK_TOP;
    const float slope = top - w;
    // Corners counter-clockwise seen from above; textures repeat about
    // every 6 units along the river and 8 across the land.
    const Strip strips[] = {
        {{-REACH, 0, w}, {REACH, 0, w}, {REACH, 0, -w}, {-REACH, 0, -w}, {0, 1, 0}, "rivercolor.png",
         2 * REACH / 6, 2},
        {{-REACH, h, top}, {REACH, h, top}, {REACH, 0, w}, {-REACH, 0, w}, {0, slope, -h}, "rockscolor.png",
         2 * REACH / 4, 0.5f},
        {{-REACH, 0, -w}, {REACH, 0, -w}, {REACH, h, -top}, {-REACH, h, -top}, {0, slope, h}, "rockscolor.png",
         2 * REACH / 4, 0.5f},
        {{-REACH, h, REACH}, {REACH, h, REACH}, {REACH, h, top}, {-REACH, h, top}, {0, 1, 0}, "grasscolor.png",
         2 * REACH / 8, (REACH - top) / 8},
        {{-REACH, h, -top}, {REACH, h, -top}, {REACH, h, -REACH}, {-REACH, h, -REACH}, {0, 1, 0}, "grasscolor.png",
         2 * REACH / 8, (REACH - top) / 8},
    };
    for (const Strip& strip : strips) {
        addSurface(root, TexturedQuad::create(strip.a, strip.b, strip.c, strip.d, strip.normal, strip.repeatS,
                                              strip.repeatT),
                   makeGroundMaterial(strip.texture));
    }
    // A sheet of clear water over the river bed.
    CppLib::SharedPtr<Velta::Material> water(new Velta::Material());
    water->setUseMaterialColor(true);
    water->setUseAlphaTest(false);
    water->setUseBlending(true);
    addSurface(root,
               TexturedQuad::create({-REACH, WATER_LEVEL, w}, {REACH, WATER_LEVEL, w}, {REACH, WATER_LEVEL, -w},
                                    {-REACH, WATER_LEVEL, -w}, {0, 1, 0}, 1, 1, Velta::Color(0.1f, 0.32f, 0.45f, 0.65f)),
               water);
}

void DemoScenery::addSurface(Velta::Branch& root, const CppLib::SharedPtr<Velta::GeometryData>& geometry,
                             const CppLib::SharedPtr<Velta::Material>& material)
{
    auto& object = keep(std::make_unique<Velta::GeometryObject>(geometry->getName()));
    auto subobject = std::make_unique<Velta::GeometrySubobject>(geometry->getName());
    subobject->setGeometry(geometry, 0);
    object.addSubobject(std::move(subobject));
    object.setDefaultMaterial(0, material);
    root.attachChild(object);
}

void DemoScenery::buildScenery(Velta::Branch& root)
{
    const float h = BANK_HEIGHT;
    // The start: a banner across the river between two traffic lights.
    placeModel(root, "banner.ms3d", {-8, 1.9f, 0}, {2.6f, 2.0f, 2.6f}, PI / 2);
    placeModel(root, "traffic.ms3d", {-8.6f, h, 7.8f}, {1.6f, 1.6f, 1.6f}, PI / 2);
    placeModel(root, "traffic.ms3d", {-8.6f, h, -7.8f}, {1.6f, 1.6f, 1.6f}, PI / 2);
    // Buoys along both banks, and the finish far downstream.
    for (float x : {-3.0f, 4.0f, 11.0f, 18.0f, 25.0f}) {
        placeModel(root, "bumper.ms3d", {x, 0.25f, 5.0f}, {3, 3, 3}, 0);
        placeModel(root, "bumper.ms3d", {x + 3.5f, 0.25f, -5.0f}, {3, 3, 3}, 0);
    }
    placeModel(root, "finishbanner.ms3d", {48, 1.9f, 0}, {2.6f, 2.0f, 2.6f}, PI / 2);
    placeModel(root, "catchmesh.ms3d", {52, 1.2f, 0}, {2.5f, 2.5f, 2.5f}, PI / 2);
    // Boathouses and stones on the banks.
    placeModel(root, "finishhouse.ms3d", {5, h + 1.6f, -13}, {3.2f, 3.2f, 3.2f}, 0);
    placeModel(root, "finishhouse.ms3d", {-20, h + 1.6f, -17}, {3.2f, 3.2f, 3.2f}, 0.5f);
    placeModel(root, "finishhouse.ms3d", {30, h + 1.6f, 15}, {3.2f, 3.2f, 3.2f}, PI + 0.3f);
    placeModel(root, "stone1.ms3d", {13, h, 9.5f}, {2.0f, 1.5f, 1.8f}, 0.4f);
    placeModel(root, "stone1.ms3d", {-15, h, 11}, {3.0f, 2.0f, 2.5f}, 2.1f);
    placeModel(root, "stone1.ms3d", {21, h, -10}, {1.5f, 1.2f, 1.5f}, 1.2f);
}

void DemoScenery::buildRacers(Velta::Branch& root)
{
    struct Racer {
        const char* duck;
        const char* item;
        float x, z;
        float itemScale;
        float spin;
    };
    // A V of ducks heading downstream (+x), each under the item it races
    // for; ducks and items turn at their own pace.
    const Racer racers[] = {
        {"mallard.ms3d", "medicare.ms3d", 1.5f, 0.0f, 0.5f, 0.5f},
        {"rallye.ms3d", "oxygen.ms3d", -1.0f, 2.3f, 0.5f, -0.6f},
        {"rallye2.ms3d", "pulso.ms3d", -1.0f, -2.3f, 0.7f, 0.7f},
        {"meister.ms3d", "banana.ms3d", -3.5f, 4.3f, 0.12f, -0.45f},
        {"velta.ms3d", "banana.ms3d", -3.5f, -4.3f, 0.12f, 0.55f},
    };
    for (const Racer& racer : racers) {
        placeModel(root, racer.duck, {racer.x, WATERLINE, racer.z}, {1.5f, 1.5f, 1.5f}, 0, racer.spin);
        const float s = racer.itemScale;
        placeModel(root, racer.item, {racer.x, 2.4f, racer.z}, {s, s, s}, 0, -2.0f * racer.spin);
    }
}

Velta::TransformationNode* DemoScenery::placeModel(Velta::Branch& root, const std::string& file,
                                                   const Vec3& position, const Vec3& scale, float turn, float spin)
{
    Velta::ObjectNode* model = core().getResourceManager().getObjectManager().createObject(file);
    if (!model) {
        ++mMissingModelCount;
        return nullptr;
    }
    ++mModelCount;
    Velta::Node& object = keep(std::unique_ptr<Velta::Node>(model));
    auto& spinner = keep(std::make_unique<Velta::TransformationNode>(file));
    spinner.setChild(object);
    spinner.scale(scale.x(), scale.y(), scale.z(), false);
    auto& place = keep(std::make_unique<Velta::TransformationNode>(file));
    place.setChild(spinner);
    place.rotateY(turn, false);
    place.translate(position.x(), position.y(), position.z(), false);
    root.attachChild(place);
    if (spin != 0.0f) {
        addSpin(spinner, spin);
    }
    return &spinner;
}

void DemoScenery::addSpin(Velta::TransformationNode& node, float radiansPerSecond)
{
    CppLib::SharedPtr<Velta::VelocityModifier> modifier(new Velta::VelocityModifier(node));
    modifier->setRotateY(radiansPerSecond);
    modifier->setState(Velta::LogicElement::ACTIVE);
    core().getEventManager().registerModifier(CppLib::SharedPtr<Velta::Modifier>(modifier));
    mModifiers.push_back(modifier);
}

} // namespace Ripplejet
