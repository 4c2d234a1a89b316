#include "display/OverlayImages.h"

#include "core/VeltaCore.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"
#include "resource/TextureProxy.h"

namespace Ripplejet {

namespace {

const Velta::Color CLEAR(0.0f, 0.0f, 0.0f, 0.0f);

} // namespace

CppLib::SharedPtr<Velta::TextureSource> OverlayImages::find(const char* name)
{
    return Velta::VeltaCore::getSingleton().getResourceManager().getTextureManager().getTextureSource(name);
}

CppLib::SharedPtr<Velta::TextureSource> OverlayImages::load(const char* name)
{
    CppLib::SharedPtr<Velta::TextureSource> image = find(name);
    if (image.isNull() || !image->getTextureData()) {
        image = CppLib::SharedPtr<Velta::TextureSource>(new Velta::TextureProxy(1, 1, CLEAR));
    }
    return image;
}

CppLib::SharedPtr<Velta::TextureProxy> OverlayImages::editableCopy(const char* name, unsigned int width,
                                                                   unsigned int height)
{
    const CppLib::SharedPtr<Velta::TextureSource> image = find(name);
    if (!image.isNull() && image->getTextureData()) {
        return CppLib::SharedPtr<Velta::TextureProxy>(new Velta::TextureProxy(image, {}, 1.0f, 0.0f, 0));
    }
    return CppLib::SharedPtr<Velta::TextureProxy>(new Velta::TextureProxy(width, height, CLEAR));
}

CppLib::SharedPtr<Velta::TextureSource> OverlayImages::asRgba(const CppLib::SharedPtr<Velta::TextureSource>& image)
{
    if (image.isNull() || !image->getTextureData()) {
        return {};
    }
    const Velta::TextureInfo& info = image->getTextureInfo();
    if (info.getColorFormat() == Velta::Color::RGBA && info.getDataType() == Velta::DataType::UNSIGNED_BYTE) {
        return image;
    }
    return CppLib::SharedPtr<Velta::TextureSource>(new Velta::TextureProxy(image, {}, 1.0f, 0.0f, 0));
}

} // namespace Ripplejet
