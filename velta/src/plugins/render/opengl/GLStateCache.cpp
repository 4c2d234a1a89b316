#include "plugins/render/opengl/GLStateCache.h"

#include <GL/glew.h>

namespace Velta {

namespace {

constexpr unsigned int UNKNOWN = ~0u;

const GLenum CAPABILITIES[GLStateCache::CAPABILITY_COUNT] = {
    GL_BLEND, GL_ALPHA_TEST, GL_COLOR_MATERIAL, GL_POINT_SPRITE_ARB, GL_FOG, GL_LIGHTING, GL_DEPTH_TEST, GL_NORMALIZE,
    GL_CULL_FACE};

const GLenum CLIENT_ARRAYS[GLStateCache::CLIENT_ARRAY_COUNT] = {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY,
                                                                GL_FOG_COORDINATE_ARRAY};

void setCapability(GLenum capability, bool enabled)
{
    if (enabled) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

void setClientState(GLenum array, bool enabled)
{
    if (enabled) {
        glEnableClientState(array);
    } else {
        glDisableClientState(array);
    }
}

} // namespace

GLStateCache::GLStateCache()
{
    invalidate();
}

void GLStateCache::invalidate()
{
    for (signed char& known : mCapabilities) {
        known = -1;
    }
    for (signed char& known : mClientArrays) {
        known = -1;
    }
    for (signed char& known : mTexCoordArrays) {
        known = -1;
    }
    mDepthMask = -1;
    mBlendSource = UNKNOWN;
    mBlendDestination = UNKNOWN;
    mAlphaReference = 0.0f;
    mAlphaKnown = false;
    mStencilUse = -1;
    mPolygonMode = UNKNOWN;
    mShadeModel = UNKNOWN;
    mActiveTexture = -1;
    mClientActiveTexture = -1;
    for (int unit = 0; unit < MAX_TEXTURE_UNITS; ++unit) {
        mUnitTargets[unit] = UNKNOWN;
        mBoundTextures[unit] = UNKNOWN;
        mTexEnvs[unit] = TexEnv();
    }
    mArrayBuffer = UNKNOWN;
    mElementBuffer = UNKNOWN;
}

void GLStateCache::setTextureUnitCount(int count)
{
    mUnitCount = count < 1 ? 1 : (count > MAX_TEXTURE_UNITS ? MAX_TEXTURE_UNITS : count);
}

bool GLStateCache::differs(signed char& known, bool wanted)
{
    const signed char value = wanted ? 1 : 0;
    if (known == value) {
        return false;
    }
    known = value;
    return true;
}

void GLStateCache::setEnabled(Capability capability, bool enabled)
{
    if (differs(mCapabilities[capability], enabled)) {
        setCapability(CAPABILITIES[capability], enabled);
    }
}

void GLStateCache::setDepthMask(bool write)
{
    if (differs(mDepthMask, write)) {
        glDepthMask(write ? GL_TRUE : GL_FALSE);
    }
}

void GLStateCache::setBlendFunc(unsigned int source, unsigned int destination)
{
    if (source != mBlendSource || destination != mBlendDestination) {
        mBlendSource = source;
        mBlendDestination = destination;
        glBlendFunc(source, destination);
    }
}

void GLStateCache::setAlphaReference(float reference)
{
    if (!mAlphaKnown || reference != mAlphaReference) {
        mAlphaKnown = true;
        mAlphaReference = reference;
        glAlphaFunc(GL_GREATER, reference);
    }
}

void GLStateCache::setStencilUse(StencilUse use)
{
    if (mStencilUse == use) {
        return;
    }
    mStencilUse = use;
    setCapability(GL_STENCIL_TEST, use != STENCIL_OFF);
    if (use == STENCIL_MARK || use == STENCIL_CLEAR_MARKS) {
        // Only where the fragment is drawn: a hidden one leaves the pixel as
        // it is.
        glStencilFunc(GL_ALWAYS, use == STENCIL_MARK ? 1 : 0, 1);
        glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    } else if (use == STENCIL_SKIP_MARKED) {
        glStencilFunc(GL_NOTEQUAL, 1, 1);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    }
}

void GLStateCache::setPolygonMode(unsigned int mode)
{
    if (mode != mPolygonMode) {
        mPolygonMode = mode;
        glPolygonMode(GL_FRONT_AND_BACK, mode);
    }
}

void GLStateCache::setShadeModel(unsigned int model)
{
    if (model != mShadeModel) {
        mShadeModel = model;
        glShadeModel(model);
    }
}

void GLStateCache::setActiveTexture(int unit)
{
    if (!isUnit(unit) || unit == mActiveTexture) {
        return;
    }
    mActiveTexture = unit;
    if (glActiveTextureARB) {
        glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    }
}

void GLStateCache::setClientActiveTexture(int unit)
{
    if (!isUnit(unit) || unit == mClientActiveTexture) {
        return;
    }
    mClientActiveTexture = unit;
    if (glClientActiveTextureARB) {
        glClientActiveTextureARB(GL_TEXTURE0_ARB + unit);
    }
}

void GLStateCache::setTextureTarget(int unit, unsigned int target)
{
    if (!isUnit(unit) || mUnitTargets[unit] == target) {
        return;
    }
    setActiveTexture(unit);
    const unsigned int previous = mUnitTargets[unit];
    if (previous == UNKNOWN) {
        // Whatever was enabled before is switched off first.
        const GLenum targets[] = {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP};
        for (GLenum each : targets) {
            if (each != target) {
                glDisable(each);
            }
        }
    } else if (previous != 0) {
        glDisable(previous);
    }
    if (target != 0) {
        glEnable(target);
    }
    mUnitTargets[unit] = target;
}

unsigned int GLStateCache::getTextureTarget(int unit) const
{
    return isUnit(unit) ? mUnitTargets[unit] : 0;
}

void GLStateCache::bindTexture(int unit, unsigned int target, unsigned int name)
{
    if (!isUnit(unit) || mBoundTextures[unit] == name) {
        return;
    }
    setActiveTexture(unit);
    glBindTexture(target, name);
    mBoundTextures[unit] = name;
}

bool GLStateCache::changeTexEnv(int unit, const TexEnv& env)
{
    if (!isUnit(unit) || mTexEnvs[unit] == env) {
        return false;
    }
    mTexEnvs[unit] = env;
    return true;
}

void GLStateCache::setClientArray(ClientArray array, bool enabled)
{
    if (differs(mClientArrays[array], enabled)) {
        setClientState(CLIENT_ARRAYS[array], enabled);
    }
}

void GLStateCache::setTexCoordArray(int unit, bool enabled)
{
    if (!isUnit(unit)) {
        return;
    }
    signed char& known = mTexCoordArrays[unit];
    if (known == (enabled ? 1 : 0)) {
        return;
    }
    known = enabled ? 1 : 0;
    setClientActiveTexture(unit);
    setClientState(GL_TEXTURE_COORD_ARRAY, enabled);
}

void GLStateCache::bindArrayBuffer(unsigned int name)
{
    if (name != mArrayBuffer) {
        mArrayBuffer = name;
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, name);
    }
}

void GLStateCache::bindElementBuffer(unsigned int name)
{
    if (name != mElementBuffer) {
        mElementBuffer = name;
        glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, name);
    }
}

void GLStateCache::forgetTexture(unsigned int name)
{
    for (unsigned int& bound : mBoundTextures) {
        if (bound == name) {
            bound = UNKNOWN;
        }
    }
}

void GLStateCache::forgetBuffer(unsigned int name)
{
    if (mArrayBuffer == name) {
        mArrayBuffer = UNKNOWN;
    }
    if (mElementBuffer == name) {
        mElementBuffer = UNKNOWN;
    }
}

} // namespace Velta
