#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "plugins/render/opengl/GLRenderContext.h"

#include <vector>

namespace Velta {

class Material;
class RenderSettings;
class Texture;
class TextureSource;
class VertexDataSet;

/// Turns a material and its textures into OpenGL state before an element
/// group is drawn: colour sources, blending, point sprites, the alpha test,
/// and a texture object per texture unit the geometry has coordinates for,
/// uploaded when it is new or its texture changed. One per view renderer.
///
/// Lighting uses the material's ambient, diffuse and specular colours, or the
/// vertex colours for ambient and diffuse with useMaterialColor(); a material
/// whose three lighting colours are all black (as a new one's are) is lit
/// with OpenGL's default material (ambient 0.2, diffuse 0.8). A material's
/// own render settings can switch lighting off for it (useLights() false);
/// their other switches are not read.
///
/// Back faces are culled for materials that ask for it (cullBackFaces()),
/// with the culled face the render settings set (the back, counter-clockwise
/// front faces).
///
/// A material with textures on more units than OpenGL offers is drawn with
/// the units that fit (a BLEND_BY_UNIT_ALPHA unit whose alpha unit does not
/// fit is left out too); the first such material is reported with one line.
///
/// The alpha test is left off where it could reject nothing: the vertices
/// carry no alpha, the lighting colour is opaque and every texture in use
/// has no alpha channel and a mode that keeps alpha (MODULATE, REPLACE,
/// DECAL, ADD).
///
/// Images are uploaded once and again only after a change; of an editable
/// image (TextureProxy) without mip-maps only the rectangles written since
/// are sent. An image that cannot be uploaded (no pixels, a colour format or
/// component type OpenGL cannot read) is refused with one line on the
/// "glmaterialmanager" log and tried again only after the texture changes;
/// until a texture has an image its unit stays untextured.
class VELTA_EXPORT GLMaterialManager {
public:
    explicit GLMaterialManager(GLRenderContext& context);
    virtual ~GLMaterialManager();

    GLMaterialManager(const GLMaterialManager&) = delete;
    GLMaterialManager& operator=(const GLMaterialManager&) = delete;

    /// Starts a view drawn with `settings` (empty for none). Settings that
    /// switch textures off leave every texture unit off.
    void begin(const CppLib::SharedPtr<RenderSettings>& settings);

    /// Sets the state of `material` for drawing `data`: texture unit u is
    /// used when one of the data's coordinate layers is for unit u.
    /// Applying the material that was applied last for the same data again
    /// changes nothing. Once a marking material was applied in the view,
    /// other opaque materials clear the marks where they draw.
    void apply(const Material& material, const VertexDataSet& data);

    /// Takes the view to have marks or not, whatever was applied: the
    /// warm-up, which draws nothing, sets each material as it will be drawn.
    /// The next apply() sets every state again.
    void setMarksMade(bool made)
    {
        mMarksMade = made;
        mLastMaterial = nullptr;
    }
    /// Whether `material` is drawn otherwise once the view has marks: an
    /// opaque material that does not mark clears them.
    static bool clearsMarks(const Material& material);

    /// Uploads the textures `material` shows on `data` (as apply() would),
    /// leaving the units' settings to the next apply().
    void prepare(const Material& material, const VertexDataSet& data);

private:
    bool isLit(const Material& material) const;
    /// Marking for an opaque marking material, clearing marks for another
    /// opaque one once the view has marks, skipping for a blended one that
    /// skips marked pixels, else off.
    GLStateCache::StencilUse getStencilUse(const Material& material) const;
    /// Whether any of the material's three lighting colours is not black.
    static bool hasLightingColours(const Material& material);
    bool isAlwaysOpaque(const Material& material, const VertexDataSet& data) const;
    void applyLightingColours(const Material& material);
    void applyBlending(const Material& material);
    void applyPointSprites(const Material& material);
    void applyTextures(const Material& material, const VertexDataSet& data);
    static bool hasSourceUnit(const Texture& texture, int unit, int units);
    void reportMissingUnit(const Material& material, unsigned int unit, int units);
    void bindTexture(Texture& texture, int unit, int previousUnit);
    /// Binds `texture` on `unit` and uploads its image when it has none or
    /// it changed; answers its record.
    GLRenderContext::TexIdSet& bindAndUpload(Texture& texture, int unit, unsigned int target);
    void upload(Texture& texture, GLRenderContext::TexIdSet& record, unsigned int target, bool replacing);
    /// Replaces only the rectangles of an editable image (TextureProxy) that
    /// changed since the texture object got it. False when that cannot be
    /// done (another kind of image, another image than the object holds, or
    /// one that no longer knows what changed): the whole image goes instead.
    bool uploadChangedRegions(TextureSource& source, GLRenderContext::TexIdSet& record, unsigned int target,
                              unsigned int pixelFormat, unsigned int type);
    /// Records the edition of the image just uploaded as the object's.
    static void takeChangedRegions(TextureSource& source, GLRenderContext::TexIdSet& record);
    bool refuse(Texture& texture, const std::string& why);
    void applySampling(Texture& texture, GLRenderContext::TexIdSet& record, unsigned int target);
    void applyTexEnv(Texture& texture, int unit, int previousUnit);

    GLRenderContext* mContext;
    bool mUseTextures = true;
    bool mUseLights = true;
    bool mReportedMissingUnit = false;
    /// Whether a marking material was applied in this view.
    bool mMarksMade = false;
    const Material* mLastMaterial = nullptr;
    const VertexDataSet* mLastData = nullptr;
};

} // namespace Velta
