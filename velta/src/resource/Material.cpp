#include "resource/Material.h"

namespace Velta {

Material::Material() = default;

Material::Material(const Material& other) = default;

Material& Material::operator=(const Material& other) = default;

Material::~Material() = default;

void Material::setRenderSettings(CppLib::SharedPtr<RenderSettings> settings)
{
    mRenderSettings = settings;
}

void Material::setTexture(unsigned int unit, CppLib::SharedPtr<Texture> texture)
{
    mTextures.put(unit, texture);
}

CppLib::SharedPtr<Texture> Material::getTexture(unsigned int unit) const
{
    // find() rather than get(): asking for a unit must not create an entry.
    const CppLib::SharedPtr<Texture>* texture = mTextures.find(unit);
    return texture ? *texture : CppLib::SharedPtr<Texture>();
}

} // namespace Velta
