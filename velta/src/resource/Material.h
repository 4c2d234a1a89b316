#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/SharedPtr.h"

namespace Velta {

class RenderSettings;
class Texture;

/// Everything the renderer needs to know about a surface: colour sources,
/// lighting colours, blending, alpha test, point sprites, one texture per
/// texture unit and optional render settings of its own.
///
/// A plain state holder, copyable, shared through SharedPtr by geometry,
/// terrain, water and particles; no setter validates its argument. The
/// textures and settings it holds live at least as long as the material.
class VELTA_EXPORT Material {
public:
    /// Blend function used while blending is on. Any other value blends with
    /// whatever function is current.
    enum BlendMode {
        BLEND_ALPHA = 0,          ///< source alpha, one minus source alpha
        BLEND_CONSTANT_COLOR = 1, ///< constant colour (the blend colour), one minus it
        BLEND_CONSTANT_ALPHA = 2  ///< constant alpha (the blend colour's), one minus it
    };

    /// Alpha test on at 0.5, no blending, no sprites (size 10), white as the
    /// current colour, every colour opaque black, no textures, no settings.
    Material();
    Material(const Material& other);
    Material& operator=(const Material& other);
    virtual ~Material();

    /// Draw with the default vertex colour's r, g, b as the current colour;
    /// when off the current colour is white.
    void setUseDefaultVertexColor(bool use) { mUseDefaultVertexColor = use; }
    bool useDefaultVertexColor() const { return mUseDefaultVertexColor; }

    /// Let vertex colours drive the lighting material (ambient and diffuse,
    /// front faces).
    void setUseMaterialColor(bool use) { mUseMaterialColor = use; }
    bool useMaterialColor() const { return mUseMaterialColor; }

    /// Discard fragments whose alpha is not greater than the test value.
    void setUseAlphaTest(bool use) { mUseAlphaTest = use; }
    bool useAlphaTest() const { return mUseAlphaTest; }

    /// Blend with the frame buffer by the blend mode. Blended surfaces are
    /// drawn after the opaque ones.
    void setUseBlending(bool use) { mUseBlending = use; }
    bool useBlending() const { return mUseBlending; }

    /// Draw points as textured sprites of the sprite size.
    void setUsePointSprites(bool use) { mUsePointSprites = use; }
    bool usePointSprites() const { return mUsePointSprites; }

    /// Leave out triangles seen from behind (wound clockwise on the screen),
    /// for surfaces never seen from their back, such as the ground. Off by
    /// default: both sides are drawn.
    void setCullBackFaces(bool cull) { mCullBackFaces = cull; }
    bool cullBackFaces() const { return mCullBackFaces; }

    /// Mark the pixels this opaque material draws (in the window's stencil
    /// buffer) for blended materials that skip marked pixels. An opaque
    /// surface drawn over a marked pixel later in the view takes the mark
    /// away, so a mark stays only where the marking surface shows. For
    /// ground drawn with the colour of a see-through surface over it already
    /// mixed in: the surface need not be drawn there again.
    void setMarksPixels(bool marks) { mMarksPixels = marks; }
    bool marksPixels() const { return mMarksPixels; }

    /// Leave out the pixels a marking material drew in this view (blended
    /// materials only).
    void setSkipsMarkedPixels(bool skips) { mSkipsMarkedPixels = skips; }
    bool skipsMarkedPixels() const { return mSkipsMarkedPixels; }

    void setAlphaTestValue(float value) { mAlphaTestValue = value; }
    float getAlphaTestValue() const { return mAlphaTestValue; }

    /// Point-sprite size in pixels.
    void setSpriteSize(float pixels) { mSpriteSize = pixels; }
    float getSpriteSize() const { return mSpriteSize; }

    void setBlendMode(BlendMode mode) { mBlendMode = mode; }
    BlendMode getBlendMode() const { return mBlendMode; }

    void setDefaultVertexColor(Color color) { mDefaultVertexColor = color; }
    Color getDefaultVertexColor() const { return mDefaultVertexColor; }
    void setAmbientMaterialColor(Color color) { mAmbientMaterialColor = color; }
    Color getAmbientMaterialColor() const { return mAmbientMaterialColor; }
    void setDiffuseMaterialColor(Color color) { mDiffuseMaterialColor = color; }
    Color getDiffuseMaterialColor() const { return mDiffuseMaterialColor; }
    void setSpecularMaterialColor(Color color) { mSpecularMaterialColor = color; }
    Color getSpecularMaterialColor() const { return mSpecularMaterialColor; }

    /// Constant colour of the constant-colour and constant-alpha blend modes.
    void setBlendColor(Color color) { mBlendColor = color; }
    Color getBlendColor() const { return mBlendColor; }

    /// Settings of the material's own; empty for none.
    void setRenderSettings(CppLib::SharedPtr<RenderSettings> settings);
    CppLib::SharedPtr<RenderSettings> getRenderSettings() const { return mRenderSettings; }

    /// Puts `texture` on texture unit `unit`, replacing what was there; an
    /// empty pointer is stored too and switches texturing off on that unit.
    void setTexture(unsigned int unit, CppLib::SharedPtr<Texture> texture);

    /// The texture of the unit, or an empty pointer when it has none.
    CppLib::SharedPtr<Texture> getTexture(unsigned int unit) const;

    /// Number of units that have an entry (empty entries included).
    unsigned int getTextureCount() const { return mTextures.getSize(); }

private:
    bool mUseDefaultVertexColor = false;
    bool mUseMaterialColor = false;
    bool mUseAlphaTest = true;
    bool mUseBlending = false;
    bool mUsePointSprites = false;
    bool mCullBackFaces = false;
    bool mMarksPixels = false;
    bool mSkipsMarkedPixels = false;
    float mAlphaTestValue = 0.5f;
    float mSpriteSize = 10.0f;
    BlendMode mBlendMode = BLEND_ALPHA;
    Color mDefaultVertexColor = Color(0.0f, 0.0f, 0.0f, 1.0f);
    Color mAmbientMaterialColor = Color(0.0f, 0.0f, 0.0f, 1.0f);
    Color mDiffuseMaterialColor = Color(0.0f, 0.0f, 0.0f, 1.0f);
    Color mSpecularMaterialColor = Color(0.0f, 0.0f, 0.0f, 1.0f);
    Color mBlendColor = Color(0.0f, 0.0f, 0.0f, 1.0f);
    CppLib::SharedPtr<RenderSettings> mRenderSettings;
    CppLib::LinkedMap<unsigned int, CppLib::SharedPtr<Texture>> mTextures;
};

} // namespace Velta
