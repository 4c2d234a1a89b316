#include "race/RaceMessage.h"

#include "display/TexturedQuad.h"

#include "core/VeltaCore.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "resource/Material.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "scene/Branch.h"
#include "scene/Overlay.h"
#include "scene/TransformationNode.h"

namespace Ripplejet {

RaceMessage::RaceMessage()
{
    using Vec3 = TexturedQuad::Vec3;
    const CppLib::SharedPtr<Velta::GeometryData> quad =
        TexturedQuad::create(Vec3(-0.5f, -0.5f, 0.0f), Vec3(0.5f, -0.5f, 0.0f), Vec3(0.5f, 0.5f, 0.0f),
                             Vec3(-0.5f, 0.5f, 0.0f), Vec3(0.0f, 0.0f, 1.0f));
    // The texture's colour fades the image: its alpha multiplies the image's.
    mTexture = CppLib::SharedPtr<Velta::Texture2D>(new Velta::Texture2D());
    mTexture->setTexMode(Velta::Texture::MODULATE_CONSTANT);
    mTexture->setConstantColor(Velta::Color(1.0f, 1.0f, 1.0f, 1.0f));
    mMaterial = CppLib::SharedPtr<Velta::Material>(new Velta::Material());
    mMaterial->setTexture(0, CppLib::SharedPtr<Velta::Texture>(mTexture));
    mMaterial->setUseBlending(true);
    mMaterial->setUseAlphaTest(false);
    mMaterial->setBlendMode(Velta::Material::BLEND_ALPHA);

    mObject = std::make_unique<Velta::GeometryObject>("message");
    auto subobject = std::make_unique<Velta::GeometrySubobject>("message");
    subobject->setGeometry(quad, 0);
    mObject->addSubobject(std::move(subobject));
    mObject->setDefaultMaterial(0, mMaterial);
    // Overlay coordinates run from 0 to 1 across the screen: in the middle.
    mNode = std::make_unique<Velta::TransformationNode>("message");
    mNode->setChild(*mObject);
    mNode->scale(0.6f, 0.7f, 1.0f, false);
    mNode->translate(0.5f, 0.5f, 0.0f, false);
}

RaceMessage::~RaceMessage() = default;

void RaceMessage::setOverlay(Velta::Overlay* overlay)
{
    hide();
    mOverlay = overlay;
}

void RaceMessage::show(const std::string& image)
{
    mImage = image;
    mTexture->setTextureSource(
        Velta::VeltaCore::getSingleton().getResourceManager().getTextureManager().getTextureSource(image));
    setOpacity(1.0f);
    if (mOverlay && !mNode->getParent()) {
        mOverlay->getRoot()->attachChild(*mNode);
    }
}

void RaceMessage::preload(const std::string& image)
{
    Velta::VeltaCore::getSingleton().getResourceManager().getTextureManager().getTextureSource(image);
}

void RaceMessage::hide()
{
    if (mOverlay && mNode->getParent()) {
        mOverlay->getRoot()->detachChild(mNode->getNodeId());
    }
}

bool RaceMessage::isShown() const
{
    return mNode->getParent() != nullptr;
}

void RaceMessage::setOpacity(float opacity)
{
    mOpacity = opacity;
    mTexture->setConstantColor(Velta::Color(1.0f, 1.0f, 1.0f, opacity));
}

} // namespace Ripplejet
