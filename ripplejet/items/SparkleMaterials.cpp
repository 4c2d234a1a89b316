#include "items/SparkleMaterials.h"

#include "core/VeltaCore.h"
#include "resource/Material.h"
#include "resource/ResourceManager.h"
#include "resource/Texture2D.h"
#include "resource/TextureManager.h"
#include "resource/TextureSource.h"

namespace Ripplejet {

CppLib::SharedPtr<Velta::Material> SparkleMaterials::get(const std::string& sprite, float size)
{
    CppLib::SharedPtr<Velta::Texture> texture;
    bool textureKept = false;
    for (const Kept& kept : mMaterials) {
        if (kept.sprite != sprite) {
            continue;
        }
        if (kept.size == size) {
            return kept.material;
        }
        texture = kept.material->getTexture(0);
        textureKept = true;
    }
    if (!textureKept) {
        texture = makeTexture(sprite);
    }
    CppLib::SharedPtr<Velta::Material> material(new Velta::Material());
    material->setUsePointSprites(true);
    material->setUseAlphaTest(true);
    material->setUseBlending(false);
    material->setSpriteSize(size);
    if (!texture.isNull()) {
        material->setTexture(0, texture);
    }
    mMaterials.push_back({sprite, size, material});
    return material;
}

CppLib::SharedPtr<Velta::Texture> SparkleMaterials::makeTexture(const std::string& sprite)
{
    const CppLib::SharedPtr<Velta::TextureSource> image =
        Velta::VeltaCore::getSingleton().getResourceManager().getTextureManager().getTextureSource(sprite);
    if (image.isNull()) {
        return {};
    }
    return CppLib::SharedPtr<Velta::Texture>(new Velta::Texture2D(image));
}

} // namespace Ripplejet
