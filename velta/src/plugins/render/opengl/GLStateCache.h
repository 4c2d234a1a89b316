#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"

namespace Velta {

/// The OpenGL state the renderer sets most often, as last set, so that a
/// change that would set what is already there is not made. One per render
/// context. Everything starts unknown and is made unknown again by
/// invalidate() at the start of every frame, so state that someone else
/// changed between frames is set again.
///
/// Values are OpenGL enumerants. Texture units beyond getTextureUnitCount()
/// are ignored.
class VELTA_EXPORT GLStateCache {
public:
    enum Capability {
        BLEND,
        ALPHA_TEST,
        COLOR_MATERIAL,
        POINT_SPRITE,
        FOG,
        LIGHTING,
        DEPTH_TEST,
        NORMALIZE,
        CULL_FACE,
        CAPABILITY_COUNT
    };

    enum ClientArray {
        VERTEX_ARRAY,
        COLOR_ARRAY,
        NORMAL_ARRAY,
        FOG_COORD_ARRAY,
        CLIENT_ARRAY_COUNT
    };

    static constexpr int MAX_TEXTURE_UNITS = 8;

    /// What the stencil buffer is used for: nothing, marking the pixels
    /// drawn (stencil value 1), clearing the marks of the pixels drawn, or
    /// leaving out the marked ones.
    enum StencilUse { STENCIL_OFF, STENCIL_MARK, STENCIL_CLEAR_MARKS, STENCIL_SKIP_MARKED };

    /// What a unit's texture environment was last set to.
    struct TexEnv {
        int mode = -1;
        /// The other unit the mode reads, −1 for none.
        int sourceUnit = -1;
        Color constantColor;

        bool operator==(const TexEnv& other) const
        {
            return mode == other.mode && sourceUnit == other.sourceUnit && constantColor == other.constantColor;
        }
    };

    GLStateCache();

    /// Forgets everything: the next request of each state sets it.
    void invalidate();

    /// Units that can be selected (1 without multitexturing).
    void setTextureUnitCount(int count);
    int getTextureUnitCount() const { return mUnitCount; }

    void setEnabled(Capability capability, bool enabled);
    void setDepthMask(bool write);
    void setBlendFunc(unsigned int source, unsigned int destination);
    /// Alpha test function GL_GREATER against `reference`.
    void setAlphaReference(float reference);
    void setStencilUse(StencilUse use);
    /// The same mode for front and back faces.
    void setPolygonMode(unsigned int mode);
    void setShadeModel(unsigned int model);

    void setActiveTexture(int unit);
    void setClientActiveTexture(int unit);
    /// Enables texturing with `target` on `unit`; target 0 disables it.
    void setTextureTarget(int unit, unsigned int target);
    unsigned int getTextureTarget(int unit) const;
    void bindTexture(int unit, unsigned int target, unsigned int name);
    /// True when `env` differs from what the unit has (the caller then sets
    /// it); records `env` as the unit's.
    bool changeTexEnv(int unit, const TexEnv& env);

    void setClientArray(ClientArray array, bool enabled);
    void setTexCoordArray(int unit, bool enabled);

    /// Buffer object bindings (only with buffer objects).
    void bindArrayBuffer(unsigned int name);
    void bindElementBuffer(unsigned int name);

    /// Forgets bindings of objects about to be deleted, so a new object that
    /// gets the same name is bound again.
    void forgetTexture(unsigned int name);
    void forgetBuffer(unsigned int name);

private:
    /// −1 unknown, 0 off, 1 on.
    static bool differs(signed char& known, bool wanted);
    bool isUnit(int unit) const { return unit >= 0 && unit < mUnitCount; }

    int mUnitCount = 1;
    signed char mCapabilities[CAPABILITY_COUNT];
    signed char mClientArrays[CLIENT_ARRAY_COUNT];
    signed char mTexCoordArrays[MAX_TEXTURE_UNITS];
    signed char mDepthMask;
    unsigned int mBlendSource;
    unsigned int mBlendDestination;
    float mAlphaReference;
    bool mAlphaKnown;
    /// −1 unknown, else a StencilUse.
    int mStencilUse;
    unsigned int mPolygonMode;
    unsigned int mShadeModel;
    int mActiveTexture;
    int mClientActiveTexture;
    /// Per unit: enabled target (0 none) and bound name; ~0u when unknown.
    unsigned int mUnitTargets[MAX_TEXTURE_UNITS];
    unsigned int mBoundTextures[MAX_TEXTURE_UNITS];
    TexEnv mTexEnvs[MAX_TEXTURE_UNITS];
    unsigned int mArrayBuffer;
    unsigned int mElementBuffer;
};

} // namespace Velta
