#include "plugins/render/opengl/GLMaterialManager.h"

#include "core/TimerManager.h"
#include "core/VeltaCore.h"
#include "geometry/VertexDataSet.h"
#include "plugins/render/opengl/GLTypes.h"
#include "resource/Material.h"
#include "resource/RenderSettings.h"
#include "resource/Texture.h"
#include "resource/TextureProxy.h"
#include "resource/TextureSource.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <string>

namespace Velta {

namespace {

void logError(const std::string& message)
{
    VeltaCore::getLogger("glmaterialmanager")->error(message);
}

/// Logs the pending OpenGL error, if any, after `message`.
void checkError(const char* message)
{
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        logError(std::string(message) + GLTypes::getErrorString(error));
    }
}

/// Whether `mode` is one of Texture's modes (their numbers skip 5); a mode
/// added to Texture warns here (-Wswitch) until it is listed.
bool isTexMode(Texture::TexMode mode)
{
    switch (mode) {
    case Texture::MODULATE:
    case Texture::REPLACE:
    case Texture::BLEND:
    case Texture::ADD:
    case Texture::DECAL:
    case Texture::PASS_PREVIOUS:
    case Texture::MODULATE_PREVIOUS:
    case Texture::BLEND_UNIT_BY_TEXTURE:
    case Texture::BLEND_BY_VERTEX_ALPHA:
    case Texture::BLEND_BY_UNIT_ALPHA:
    case Texture::BLEND_BY_TEXTURE_ALPHA:
    case Texture::MODULATE_CONSTANT:
        return true;
    }
    return false;
}

void clearErrors()
{
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

GLenum getTarget(Texture::TextureType type)
{
    switch (type) {
    case Texture::TEXTURE_1D:
        return GL_TEXTURE_1D;
    case Texture::TEXTURE_3D:
        return GL_TEXTURE_3D;
    case Texture::TEXTURE_CUBE_MAP:
        return GL_TEXTURE_CUBE_MAP;
    default:
        return GL_TEXTURE_2D;
    }
}

GLenum getWrap(Texture::TexWrap wrap)
{
    switch (wrap) {
    case Texture::CLAMP:
        return GL_CLAMP;
    case Texture::CLAMP_TO_EDGE:
        return GL_CLAMP_TO_EDGE;
    case Texture::CLAMP_TO_BORDER:
        return GL_CLAMP_TO_BORDER;
    case Texture::MIRRORED_REPEAT:
        return GL_MIRRORED_REPEAT;
    default:
        return GL_REPEAT;
    }
}

/// The minification filter. A mip-map filter on a texture without mip-maps
/// would leave it incomplete, and OpenGL would not sample it at all: it then
/// filters within the one level instead. Without `blendLevels` a filter that
/// blends two levels takes the nearest one.
GLenum getMinFilter(const Texture& texture, bool blendLevels)
{
    const bool linear = texture.getMipMapFilter() != Texture::NEAREST;
    switch (texture.getMinFilter()) {
    case Texture::NEAREST:
        return GL_NEAREST;
    case Texture::MIPMAP:
        if (!texture.doGenerateMipMaps()) {
            return linear ? GL_LINEAR : GL_NEAREST;
        }
        if (texture.getMipMapChooseFilter() != Texture::NEAREST && blendLevels) {
            return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        }
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    default:
        return GL_LINEAR;
    }
}

void setCombine(GLenum rgb, GLenum alpha)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, rgb);
    if (alpha != 0) {
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, alpha);
    }
}

void setRgbSource(int index, GLenum source, GLenum operand)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB + index, source);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB + index, operand);
}

void setAlphaSource(int index, GLenum source)
{
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_ARB + index, source);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA_ARB + index, GL_SRC_ALPHA);
}

/// Colour: interpolate(texture, previous, `factor`); alpha as `alpha` says.
void setInterpolate(GLenum factor, GLenum factorOperand)
{
    setRgbSource(0, GL_TEXTURE, GL_SRC_COLOR);
    setRgbSource(1, GL_PREVIOUS_ARB, GL_SRC_COLOR);
    setRgbSource(2, factor, factorOperand);
}

/// Sets the environment of the active unit for `mode`; `source` is the unit
/// a crossbar mode reads (GL_TEXTURE when there is none to read).
void setTexEnv(int mode, GLenum source, const Color& constant)
{
    switch (mode) {
    case Texture::MODULATE:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        break;
    case Texture::REPLACE:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        break;
    case Texture::BLEND:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_BLEND);
        break;
    case Texture::ADD:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
        break;
    case Texture::DECAL:
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
        break;
    case Texture::PASS_PREVIOUS:
        setCombine(GL_REPLACE, GL_REPLACE);
        setRgbSource(0, GL_PREVIOUS_ARB, GL_SRC_COLOR);
        setAlphaSource(0, GL_PREVIOUS_ARB);
        break;
    case Texture::MODULATE_PREVIOUS:
        setCombine(GL_MODULATE, GL_REPLACE);
        setRgbSource(0, GL_TEXTURE, GL_SRC_COLOR);
        setRgbSource(1, GL_PREVIOUS_ARB, GL_SRC_COLOR);
        setAlphaSource(0, GL_PREVIOUS_ARB);
        break;
    case Texture::BLEND_UNIT_BY_TEXTURE:
        setCombine(GL_INTERPOLATE_ARB, 0);
        setRgbSource(0, source, GL_SRC_COLOR);
        setRgbSource(1, GL_PREVIOUS_ARB, GL_SRC_COLOR);
        setRgbSource(2, GL_TEXTURE, GL_SRC_COLOR);
        break;
    case Texture::BLEND_BY_VERTEX_ALPHA:
        setCombine(GL_INTERPOLATE_ARB, GL_REPLACE);
        setInterpolate(GL_PRIMARY_COLOR_ARB, GL_SRC_ALPHA);
        setAlphaSource(0, GL_TEXTURE);
        break;
    case Texture::BLEND_BY_UNIT_ALPHA:
        setCombine(GL_INTERPOLATE_ARB, GL_REPLACE);
        setInterpolate(source, GL_SRC_ALPHA);
        setAlphaSource(0, GL_TEXTURE);
        break;
    case Texture::BLEND_BY_TEXTURE_ALPHA:
        setCombine(GL_INTERPOLATE_ARB, GL_INTERPOLATE_ARB);
        setInterpolate(GL_TEXTURE, GL_SRC_ALPHA);
        setAlphaSource(0, GL_TEXTURE);
        setAlphaSource(1, GL_PREVIOUS_ARB);
        setAlphaSource(2, GL_TEXTURE);
        break;
    case Texture::MODULATE_CONSTANT: {
        const GLfloat color[4] = {constant.r, constant.g, constant.b, constant.a};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, color);
        setCombine(GL_MODULATE, GL_MODULATE);
        setRgbSource(0, GL_TEXTURE, GL_SRC_COLOR);
        setRgbSource(1, GL_CONSTANT_ARB, GL_SRC_COLOR);
        setAlphaSource(0, GL_TEXTURE);
        setAlphaSource(1, GL_CONSTANT_ARB);
        break;
    }
    default:
        break;
    }
}

} // namespace

GLMaterialManager::GLMaterialManager(GLRenderContext& context) : mContext(&context) {}

GLMaterialManager::~GLMaterialManager() = default;

void GLMaterialManager::begin(const CppLib::SharedPtr<RenderSettings>& settings)
{
    mUseTextures = settings.isNull() || settings->useTextures();
    mUseLights = settings.isNull() || settings->useLights();
    mLastMaterial = nullptr;
    mLastData = nullptr;
    mMarksMade = false;
}

void GLMaterialManager::apply(const Material& material, const VertexDataSet& data)
{
    if (&material == mLastMaterial && &data == mLastData) {
        return;
    }
    mLastMaterial = &material;
    mLastData = &data;

    GLStateCache& state = mContext->getStateCache();
    state.setEnabled(GLStateCache::LIGHTING, isLit(material));
    // Tracking off before the material's own colours are set: while it is
    // on, OpenGL keeps overwriting them with the current colour.
    if (material.useMaterialColor()) {
        glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    }
    state.setEnabled(GLStateCache::COLOR_MATERIAL, material.useMaterialColor());
    applyLightingColours(material);
    if (material.useDefaultVertexColor()) {
        const Color color = material.getDefaultVertexColor();
        glColor3f(color.r, color.g, color.b);
    } else {
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    applyBlending(material);
    state.setEnabled(GLStateCache::CULL_FACE, material.cullBackFaces());
    const GLStateCache::StencilUse stencil = getStencilUse(material);
    mMarksMade = mMarksMade || stencil == GLStateCache::STENCIL_MARK;
    state.setStencilUse(stencil);
    applyPointSprites(material);
    state.setEnabled(GLStateCache::ALPHA_TEST, material.useAlphaTest() && !isAlwaysOpaque(material, data));
    if (material.useAlphaTest()) {
        state.setAlphaReference(material.getAlphaTestValue());
    }
    applyTextures(material, data);
}

bool GLMaterialManager::clearsMarks(const Material& material)
{
    // What an opaque surface draws is what shows there, until a nearer one
    // is drawn over it: that one takes the mark away.
    return !material.useBlending() && !material.marksPixels();
}

GLStateCache::StencilUse GLMaterialManager::getStencilUse(const Material& material) const
{
    if (clearsMarks(material)) {
        return mMarksMade ? GLStateCache::STENCIL_CLEAR_MARKS : GLStateCache::STENCIL_OFF;
    }
    if (material.useBlending()) {
        return material.skipsMarkedPixels() ? GLStateCache::STENCIL_SKIP_MARKED : GLStateCache::STENCIL_OFF;
    }
    return GLStateCache::STENCIL_MARK;
}

bool GLMaterialManager::isLit(const Material& material) const
{
    const CppLib::SharedPtr<RenderSettings> own = material.getRenderSettings();
    return mUseLights && (own.isNull() || own->useLights());
}

bool GLMaterialManager::hasLightingColours(const Material& material)
{
    const auto isBlack = [](const Color& color) { return color.r == 0.0f && color.g == 0.0f && color.b == 0.0f; };
    return !isBlack(material.getAmbientMaterialColor()) || !isBlack(material.getDiffuseMaterialColor()) ||
           !isBlack(material.getSpecularMaterialColor());
}

bool GLMaterialManager::isAlwaysOpaque(const Material& material, const VertexDataSet& data) const
{
    // Fragments of alpha 1 always pass the test (GL_GREATER below 1); with
    // the test off the renderer can reject hidden fragments before it
    // textures them. Alpha is 1 when the colour that enters the texture
    // units is opaque and every unit in use keeps it so.
    if (!(material.getAlphaTestValue() < 1.0f) || material.usePointSprites()) {
        return false;
    }
    if (data.getColor() && data.getColorType() != DataType::NONE && data.getNumColor() > 3) {
        return false; // the vertices carry alpha
    }
    if (isLit(material) && !material.useMaterialColor() && hasLightingColours(material) &&
        material.getDiffuseMaterialColor().a < 1.0f) {
        return false; // lit with a translucent diffuse colour
    }
    if (!mUseTextures) {
        return true;
    }
    for (unsigned int unit : data.getTexturesIndices()) {
        const CppLib::SharedPtr<Texture> texture = material.getTexture(unit);
        if (texture.isNull()) {
            continue;
        }
        const int mode = texture->getTexMode();
        if (mode != Texture::MODULATE && mode != Texture::REPLACE && mode != Texture::DECAL && mode != Texture::ADD) {
            return false;
        }
        const CppLib::SharedPtr<TextureSource> source = texture->getTextureSource(0, 0);
        if (source.isNull()) {
            continue; // drawn untextured
        }
        const int format = source->getTextureInfo().getColorFormat();
        if (format != Color::RGB && format != Color::BGR && format != Color::LUMINANCE &&
            format != Color::SINGLE_CHANNEL) {
            return false;
        }
    }
    return true;
}

void GLMaterialManager::applyLightingColours(const Material& material)
{
    // Set for every material, so that no material is lit with what the one
    // before it left behind (colour-material tracking changes the GL material).
    static const GLfloat DEFAULT_AMBIENT[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    static const GLfloat DEFAULT_DIFFUSE[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const auto set = [](GLenum name, const Color& color) {
        const GLfloat values[4] = {color.r, color.g, color.b, color.a};
        glMaterialfv(GL_FRONT_AND_BACK, name, values);
    };
    set(GL_SPECULAR, material.getSpecularMaterialColor());
    if (material.useMaterialColor()) {
        return; // ambient and diffuse follow the colours
    }
    if (!hasLightingColours(material)) {
        // No lighting colours given: OpenGL's own default material.
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, DEFAULT_AMBIENT);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, DEFAULT_DIFFUSE);
        return;
    }
    set(GL_AMBIENT, material.getAmbientMaterialColor());
    set(GL_DIFFUSE, material.getDiffuseMaterialColor());
}

void GLMaterialManager::applyBlending(const Material& material)
{
    GLStateCache& state = mContext->getStateCache();
    state.setEnabled(GLStateCache::BLEND, material.useBlending());
    if (!material.useBlending()) {
        return;
    }
    const Material::BlendMode mode = material.getBlendMode();
    if (mode == Material::BLEND_ALPHA) {
        state.setBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else if (mode == Material::BLEND_CONSTANT_COLOR || mode == Material::BLEND_CONSTANT_ALPHA) {
        const Color color = material.getBlendColor();
        if (glBlendColor) {
            glBlendColor(color.r, color.g, color.b, color.a);
        } else if (glBlendColorEXT) {
            glBlendColorEXT(color.r, color.g, color.b, color.a);
        }
        if (mode == Material::BLEND_CONSTANT_COLOR) {
            state.setBlendFunc(GL_CONSTANT_COLOR, GL_ONE_MINUS_CONSTANT_COLOR);
        } else {
            state.setBlendFunc(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
        }
    }
}

void GLMaterialManager::applyPointSprites(const Material& material)
{
    if (!mContext->supportsPointSprites()) {
        return;
    }
    GLStateCache& state = mContext->getStateCache();
    state.setEnabled(GLStateCache::POINT_SPRITE, material.usePointSprites());
    if (!material.usePointSprites()) {
        return;
    }
    static const GLfloat ATTENUATION[3] = {1.0f, 0.0f, 0.01f};
    const float size = material.getSpriteSize();
    glPointSize(size);
    glPointParameterfARB(GL_POINT_FADE_THRESHOLD_SIZE_ARB, 60.0f);
    glPointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, ATTENUATION);
    glPointParameterfARB(GL_POINT_SIZE_MIN_ARB, 1.0f);
    glPointParameterfARB(GL_POINT_SIZE_MAX_ARB, size);
    // Coordinates are replaced on the sprite's texture unit, unit 0.
    state.setActiveTexture(0);
    glTexEnvi(GL_POINT_SPRITE_ARB, GL_COORD_REPLACE_ARB, GL_TRUE);
}

void GLMaterialManager::applyTextures(const Material& material, const VertexDataSet& data)
{
    GLStateCache& state = mContext->getStateCache();
    const int units = state.getTextureUnitCount();
    const CppLib::Vector<unsigned int>& layerUnits = data.getTexturesIndices();
    unsigned int used = 0;
    int previousUnit = -1;
    for (unsigned int unitIndex : layerUnits) {
        const int unit = static_cast<int>(unitIndex);
        if (unitIndex >= static_cast<unsigned int>(units)) {
            reportMissingUnit(material, unitIndex, units);
            continue;
        }
        if (used & (1u << unit)) {
            continue;
        }
        used |= 1u << unit;
        const CppLib::SharedPtr<Texture> texture = mUseTextures ? material.getTexture(unitIndex)
                                                                : CppLib::SharedPtr<Texture>();
        if (texture.isNull() || !hasSourceUnit(*texture, unit, units)) {
            state.setTextureTarget(unit, 0);
        } else {
            bindTexture(*texture, unit, previousUnit);
        }
        previousUnit = unit;
    }
    for (int unit = 0; unit < units; ++unit) {
        if (!(used & (1u << unit))) {
            state.setTextureTarget(unit, 0);
        }
    }
}

bool GLMaterialManager::hasSourceUnit(const Texture& texture, int unit, int units)
{
    // A layer blended in by the alpha of the unit two above cannot be drawn
    // without that unit: it is left out rather than drawn over everything.
    if (texture.getTexMode() == Texture::BLEND_BY_UNIT_ALPHA && unit + 2 >= units) {
        return false;
    }
    return true;
}

void GLMaterialManager::reportMissingUnit(const Material& material, unsigned int unit, int units)
{
    if (mReportedMissingUnit || !mUseTextures || material.getTexture(unit).isNull()) {
        return;
    }
    mReportedMissingUnit = true;
    logError("A material needs texture unit " + std::to_string(unit) + " but OpenGL offers " +
             std::to_string(units) + " texture units; what fits is drawn");
}

void GLMaterialManager::prepare(const Material& material, const VertexDataSet& data)
{
    if (!mUseTextures) {
        return;
    }
    const int units = mContext->getStateCache().getTextureUnitCount();
    for (unsigned int unit : data.getTexturesIndices()) {
        const CppLib::SharedPtr<Texture> texture = material.getTexture(unit);
        if (unit < static_cast<unsigned int>(units) && !texture.isNull()) {
            bindAndUpload(*texture, static_cast<int>(unit), getTarget(texture->getTextureType()));
        }
    }
    mLastMaterial = nullptr;
    mLastData = nullptr;
}

GLRenderContext::TexIdSet& GLMaterialManager::bindAndUpload(Texture& texture, int unit, unsigned int target)
{
    GLStateCache& state = mContext->getStateCache();
    GLRenderContext::TexIdSet* record = mContext->findTexIdSet(texture);
    if (!record) {
        record = &mContext->createTexIdSet(texture);
    }
    state.bindTexture(unit, target, record->name);
    state.setActiveTexture(unit);

    // An image is uploaded once, and again after a change since the last
    // upload. Within the millisecond of an upload nothing is uploaded again:
    // a change in that millisecond is seen from the next one on.
    const long long now = VeltaCore::getSingleton().getTimerManager().getTimestamp();
    if (!record->loaded || (record->stamp != now && texture.hasChanged(record->stamp))) {
        record->loaded = true;
        record->stamp = now;
        upload(texture, *record, target, record->hasImage);
    }
    return *record;
}

void GLMaterialManager::bindTexture(Texture& texture, int unit, int previousUnit)
{
    GLStateCache& state = mContext->getStateCache();
    const GLenum target = getTarget(texture.getTextureType());
    GLRenderContext::TexIdSet* record = &bindAndUpload(texture, unit, target);
    if (!record->hasImage) {
        // Nothing to sample (no image yet, or it was refused): the surface
        // shows untextured rather than in whatever an empty object gives.
        state.setTextureTarget(unit, 0);
        return;
    }
    applySampling(texture, *record, target);
    state.setTextureTarget(unit, target);
    applyTexEnv(texture, unit, previousUnit);
}

void GLMaterialManager::upload(Texture& texture, GLRenderContext::TexIdSet& record, unsigned int target,
                               bool replacing)
{
    if (target != GL_TEXTURE_2D) {
        refuse(texture, "only two-dimensional textures are uploaded");
        return;
    }
    const CppLib::SharedPtr<TextureSource> source = texture.getTextureSource(0, 0);
    if (source.isNull()) {
        return;
    }
    const TextureInfo& info = source->getTextureInfo();
    const void* pixels = source->getTextureData();
    GLenum internalFormat = 0;
    GLenum pixelFormat = 0;
    if (info.getWidth() == 0 || info.getHeight() == 0 || !pixels) {
        refuse(texture, "it has no pixels");
        return;
    }
    if (!GLTypes::getPixelFormat(info.getColorFormat(), info.getChannels(), internalFormat, pixelFormat)) {
        refuse(texture, "its colour format " + std::to_string(info.getColorFormat()) + " with " +
                            std::to_string(info.getChannels()) + " channels has no OpenGL format");
        return;
    }
    if (!GLTypes::isPixelType(info.getDataType())) {
        refuse(texture, std::string("OpenGL cannot read components of type ") + DataType::getName(info.getDataType()));
        return;
    }
    clearErrors();
    // Rows are packed without padding.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLsizei width = static_cast<GLsizei>(info.getWidth());
    const GLsizei height = static_cast<GLsizei>(info.getHeight());
    const GLenum type = GLTypes::getType(info.getDataType());
    if (replacing && !texture.doGenerateMipMaps() && uploadChangedRegions(*source, record, target, pixelFormat, type)) {
        return;
    }
    if (texture.doGenerateMipMaps()) {
        gluBuild2DMipmaps(target, static_cast<GLint>(internalFormat), width, height, pixelFormat, type, pixels);
    } else {
        glTexImage2D(target, 0, static_cast<GLint>(internalFormat), width, height, 0, pixelFormat, type, pixels);
    }
    mContext->countTextureUpload(info.getMemSize());
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        record.image = nullptr;
        logError(std::string(replacing ? "GL Error while updating texture data: "
                                        : "GL Error while loading texture data: ") +
                 GLTypes::getErrorString(error));
        return;
    }
    record.hasImage = true;
    record.image = source.get();
    takeChangedRegions(*source, record);
}

bool GLMaterialManager::uploadChangedRegions(TextureSource& source, GLRenderContext::TexIdSet& record,
                                             unsigned int target, unsigned int pixelFormat, unsigned int type)
{
    auto* proxy = dynamic_cast<TextureProxy*>(&source);
    const TextureProxy::Region* regions = nullptr;
    unsigned int count = 0;
    if (!proxy || record.image != proxy || !proxy->getChangedRegions(record.revision, regions, count)) {
        return false;
    }
    const TextureInfo& info = proxy->getTextureInfo();
    const unsigned long long pixelSize = info.getPixelSize();
    const auto* pixels = static_cast<const unsigned char*>(proxy->getTextureData());
    if (count > 0) {
        // Each rectangle is read out of the whole image's rows.
        unsigned long long bytes = 0;
        glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(info.getWidth()));
        for (unsigned int i = 0; i < count; ++i) {
            const TextureProxy::Region& region = regions[i];
            const unsigned char* first =
                pixels + (static_cast<unsigned long long>(region.y) * info.getWidth() + region.x) * pixelSize;
            glTexSubImage2D(target, 0, static_cast<GLint>(region.x), static_cast<GLint>(region.y),
                            static_cast<GLsizei>(region.width), static_cast<GLsizei>(region.height), pixelFormat,
                            type, first);
            bytes += static_cast<unsigned long long>(region.width) * region.height * pixelSize;
        }
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        mContext->countTextureUpload(bytes);
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            record.image = nullptr; // the whole image next time
            logError(std::string("GL Error while updating texture data: ") + GLTypes::getErrorString(error));
            return true;
        }
    }
    takeChangedRegions(*proxy, record);
    return true;
}

void GLMaterialManager::takeChangedRegions(TextureSource& source, GLRenderContext::TexIdSet& record)
{
    auto* proxy = dynamic_cast<TextureProxy*>(&source);
    if (!proxy) {
        record.revision = 0;
        return;
    }
    record.revision = proxy->getRevision();
    proxy->forgetChangedRegions();
}

bool GLMaterialManager::refuse(Texture& texture, const std::string& why)
{
    logError("Texture " + std::to_string(texture.getTextureId()) + " is not uploaded: " + why);
    return false;
}

void GLMaterialManager::applySampling(Texture& texture, GLRenderContext::TexIdSet& record, unsigned int target)
{
    const GLenum minFilter = getMinFilter(texture, mContext->blendsMipMaps());
    const GLenum magFilter = texture.getMagFilter() == Texture::NEAREST ? GL_NEAREST : GL_LINEAR;
    const int axes = target == GL_TEXTURE_1D ? 1 : (target == GL_TEXTURE_3D ? 3 : 2);
    static const GLenum WRAP_NAMES[3] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R};
    bool changed = false;
    if (record.minFilter != minFilter) {
        record.minFilter = minFilter;
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
        changed = true;
    }
    if (record.magFilter != magFilter) {
        record.magFilter = magFilter;
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
        changed = true;
    }
    for (int axis = 0; axis < axes; ++axis) {
        const GLenum wrap = getWrap(texture.getWrapMode(static_cast<unsigned int>(axis), 0));
        if (record.wrap[axis] != wrap) {
            record.wrap[axis] = wrap;
            glTexParameteri(target, WRAP_NAMES[axis], static_cast<GLint>(wrap));
            changed = true;
        }
    }
    if (changed) {
        checkError("GL Error while updating Texture parameter: ");
    }
}

void GLMaterialManager::applyTexEnv(Texture& texture, int unit, int previousUnit)
{
    if (!isTexMode(texture.getTexMode())) {
        return;
    }
    const int mode = texture.getTexMode();
    GLStateCache& state = mContext->getStateCache();
    GLStateCache::TexEnv env;
    env.mode = mode;
    if (mode == Texture::BLEND_UNIT_BY_TEXTURE) {
        env.sourceUnit = previousUnit;
    } else if (mode == Texture::BLEND_BY_UNIT_ALPHA) {
        env.sourceUnit = unit + 2 < state.getTextureUnitCount() ? unit + 2 : -1;
    }
    if (mode == Texture::MODULATE_CONSTANT) {
        env.constantColor = texture.getConstantColor();
    }
    if (!state.changeTexEnv(unit, env)) {
        return;
    }
    state.setActiveTexture(unit);
    const GLenum source = env.sourceUnit >= 0 ? GL_TEXTURE0_ARB + env.sourceUnit : GL_TEXTURE;
    setTexEnv(mode, source, env.constantColor);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        logError("GL Error while updating Texture mode [" + std::to_string(mode) + "]: " +
                 GLTypes::getErrorString(error));
    }
}

} // namespace Velta
