#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"
#include "terrain/HeightField.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainCoverage.h"

#include <functional>
#include <utility>
#include <vector>

namespace Velta {

class BoundingBox;
class Texture;
class TextureSource;
class VertexData;

/// One square cell of a terrain: a height map turned into one grid of N × N
/// vertices (colours, normals, texture coordinates) that the tile's patches
/// draw, and the material that textures it. Answers heights and normals
/// anywhere on the tile on the same triangles the patches draw.
///
/// Made disabled by Terrain::initializeTerrain(); set it up (enable it, set
/// the height scale, the maps and the layers) and call updateTile(). Later
/// changes show after the next updateTile(); queries read the height map as
/// it is now. Owned by its terrain.
///
/// Texture units (see getLayerUnit()), with b = 1 when there is a base map
/// and 0 otherwise and L layers: base map on unit 0; layer i's texture on
/// unit b + 2i and its alpha map on b + 2i + 1; the light map on b + 2L. Texture-coordinate sets follow
/// in the order base, then per layer its texture (and, for a layer that is
/// neither first nor last, its alpha map), then the light map. The first
/// layer is blended over the base by the vertex alpha (the colour map's
/// alpha), a middle layer by its alpha map, the last by its alpha map
/// carried in the light map's alpha (in a white stand-in on the light map's
/// unit when there is no light map).
///
/// A map that cannot be used logs one line on "terrain" when it is set; the
/// tile then falls back as each setter says.
class VELTA_EXPORT Terrain::Tile {
public:
    struct TextureLayer {
        CppLib::SharedPtr<Texture> texture;
        CppLib::SharedPtr<Texture> alpha;
        /// World units covered by one repetition of the texture.
        float scale = 1.0f;
    };

    virtual ~Tile();

    Tile(const Tile&) = delete;
    Tile& operator=(const Tile&) = delete;

    /// Patches are built for enabled tiles only.
    void setEnabled(bool enabled) { mEnabled = enabled; }
    bool isEnabled() const { return mEnabled; }

    /// Position in the terrain's grid.
    unsigned int getPosX() const { return mPosX; }
    unsigned int getPosY() const { return mPosY; }
    /// N: vertices per tile edge.
    unsigned int getVertexNumPerEdge() const { return mVertexNumPerEdge; }

    /// Height of a height-map value 0 (default 0).
    void setOffset(float offset) { mOffset = offset; }
    float getOffset() const { return mOffset; }
    /// Height between the values 0 and 255 (default 10).
    void setMaxHeight(float maxHeight) { mMaxHeight = maxHeight; }
    float getMaxHeight() const { return mMaxHeight; }

    /// Takes the heights from byte `channel` of slice `slice` of `heightMap`,
    /// an image of unsigned bytes of any size (sampled across the whole
    /// tile). False, with one line on "terrain", when the image cannot be
    /// read (empty, another data type, no such channel or slice): the tile
    /// is then flat at the offset with normals straight up. An empty pointer
    /// removes the height map the same way, silently. Rebuilds nothing.
    bool load(const CppLib::SharedPtr<TextureSource>& heightMap, unsigned int channel, unsigned int slice);

    /// Releases the height, slope and normal maps and deletes the layers.
    void unload();

    /// Tints the vertex colours; its alpha blends the first layer in. An
    /// image without pixels counts as none (one line on "terrain").
    void setColorMap(const CppLib::SharedPtr<TextureSource>& colorMap);
    /// Ground texture on unit 0, repeating every `scale` world units (a scale
    /// that is not positive repeats it once across the tile). An image
    /// without pixels counts as none (one line on "terrain").
    void setBaseMap(const CppLib::SharedPtr<TextureSource>& baseMap, float scale);
    /// Light map, multiplied in as colour × `scale` + `offset`. An image
    /// without pixels counts as none (one line on "terrain").
    void setLightMap(const CppLib::SharedPtr<TextureSource>& lightMap, float scale, float offset);

    /// Adds a texture layer over the ones before it, repeating every `scale`
    /// world units, blended in by `alpha`. Answers its position. A texture or
    /// alpha map without pixels logs one line on "terrain"; the layer keeps
    /// its place, and that image's unit stays untextured when drawn.
    unsigned int addTextureLayer(const CppLib::SharedPtr<TextureSource>& texture,
                                 const CppLib::SharedPtr<TextureSource>& alpha, float scale);
    unsigned int getTextureLayerCount() const { return mTextureLayers.getSize(); }
    /// Layer `index`, or null.
    const TextureLayer* getTextureLayer(unsigned int index) const { return mTextureLayers.get(index); }

    CppLib::SharedPtr<TextureSource> getHeightMap() const { return mHeightMap; }
    CppLib::SharedPtr<TextureSource> getNormalMap() const { return mNormalMap; }
    CppLib::SharedPtr<TextureSource> getColorMap() const { return mColorMap; }
    CppLib::SharedPtr<TextureSource> getBaseMap() const { return mBaseMap; }
    CppLib::SharedPtr<TextureSource> getLightMap() const { return mLightMap; }

    /// N × N luminance bytes, built on the first call from the normals and
    /// kept: 255 for level ground, 0 for a vertical wall (the byte is
    /// 255 × the normal's vertical component).
    CppLib::SharedPtr<TextureSource> getSlopeMap();

    /// The vertex grid and the material of the last updateTile(); empty
    /// before.
    CppLib::SharedPtr<VertexData> getVertexData() const { return mVertexData; }
    CppLib::SharedPtr<Material> getMaterial() const { return mMaterial; }

    /// The coats of the last updateTile(): bit 0 for the base map, bit 1 + i
    /// for texture layer i, set for those the tile has; UNCOVERED with a
    /// cover.
    unsigned int getCoats() const { return mCoats | (hasCover() ? UNCOVERED : 0u); }
    /// The coats that show on the quads from vertex column `left` to `right`
    /// and row `top` to `bottom` (in the grid of the last updateTile()): a
    /// layer whose weight is 0 all over them is left out, and so is every
    /// coat under a layer whose weight is 1 all over them. All coats when the
    /// tile has more than MAX_SORTED_COATS.
    unsigned int getCoats(unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) const
    {
        return mCoverage.getCoats(left, top, right, bottom);
    }
    /// The material of the last updateTile() without the texture units of
    /// the coats in `leftOut`; the whole material for 0 or for a set it has
    /// not made. Ground that shows none of those coats looks the same with
    /// it, for fewer texture reads. With UNCOVERED in `leftOut` (covered
    /// ground), the cover's material while the cover is shown.
    CppLib::SharedPtr<Material> getCoatMaterial(unsigned int leftOut) const;
    /// Tiles with more coats draw every coat everywhere (2^coats materials).
    static constexpr unsigned int MAX_SORTED_COATS = 4;

    /// Whether ground within a box (in the tile's frame: x and z across the
    /// tile, heights as getHeight() answers them) lies wholly under a
    /// see-through surface, and is seen through it from wherever above the
    /// surface it can be seen.
    using CoverTest = std::function<bool(const BoundingBox& ground)>;
    /// Lays a see-through surface's colour (`colour`; its alpha is how much
    /// of what lies under it the surface hides) over the ground that `test`
    /// finds under it and that shows the last of two or more layers alone
    /// (a river bed under its water): that ground is drawn with one
    /// texture, the last layer with the light and the colour already mixed
    /// in, and marks its pixels (Material::setMarksPixels), so that the
    /// surface, drawn with a material that skips marked pixels, is left out
    /// there: one layer drawn instead of two. The surface must be lit the
    /// same all over that ground, and the light map must be grey; it is
    /// taken as one value there (its mean where the last layer shows
    /// alone), so it should vary little under the surface. Takes effect at
    /// the next updateTile(); an empty test removes the cover.
    void setCover(const CoverTest& test, const Color& colour);
    bool hasCover() const { return static_cast<bool>(mCoverTest); }
    /// Whether covered ground is drawn with the colour (the default). An eye
    /// under the surface sees the ground without it: switch it off then, and
    /// the ground is drawn as the rest and marks nothing.
    void setCoverShown(bool shown) { mCoverShown = shown; }
    bool isCoverShown() const { return mCoverShown; }
    /// The coat of ground that is not under the cover, in getCoats(): ground
    /// under it leaves this coat out, and its material index has this bit.
    static constexpr unsigned int UNCOVERED = 1u << 16;
    /// Whether the quads from vertex column `left` to `right` and row `top`
    /// to `bottom` are drawn under the cover (false without one).
    bool isCovered(unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) const;

    /// Ground height at (u, v) across the tile (each 0 … 1, clamped), in the
    /// terrain's local units: offset + value × maxHeight.
    float getHeight(float u, float v) const;
    /// The lowest and highest ground of the grid's vertices from column
    /// `left` to `right` and row `top` to `bottom` (inclusive).
    std::pair<float, float> getHeightRange(unsigned int left, unsigned int top, unsigned int right,
                                           unsigned int bottom) const;
    /// Ground normal at (u, v) in the terrain's local axes, length 1.
    CppLib::TVector<float, 3> getNormal(float u, float v) const;
    /// Vertex colour at (u, v) for a vertex at `height` (negative: the ground
    /// height there). With a colour map its pixel; otherwise grey from 0.2 at
    /// the offset to 1 at offset + maxHeight, alpha 1.
    Color getColor(float u, float v, float height) const;

    /// The terrain's answers for a handle on this tile; for other handles
    /// normal (0, 1, 0), distance 0 and surface point (0, −1, 0).
    CppLib::TVector<float, 3> getNormal(const PointHandle& handle, bool flag) const;
    CppLib::TVector<float, 3> getNormal(const Point& world, bool flag) const;
    float getDistance(const PointHandle& handle) const;
    float getDistance(const Point& world) const;
    Point getSurfacePoint(const PointHandle& handle) const;
    Point getSurfacePoint(const Point& world) const;
    /// Always 0.
    float getSlope(const Point&) const { return 0.0f; }

    /// Rebuilds the vertex grid and the material, then the patches.
    void updateTile();

private:
    friend class Terrain;

    Tile(Terrain& terrain, unsigned int posX, unsigned int posY, unsigned int vertexNumPerEdge);

    /// Texture-coordinate set numbers of the vertex grid; −1 for none.
    struct CoordinateSets {
        int base = -1;
        int light = -1;
        CppLib::Vector<int> layers;
        CppLib::Vector<int> alphas;
    };

    CoordinateSets declareCoordinateSets(VertexData& data) const;
    /// The coat of the last layer; 0 with fewer than two layers.
    unsigned int getLastLayerCoat() const;
    /// The material of covered ground; none without a cover that can be
    /// drawn.
    void buildCoverMaterial();
    /// The last layer's image for covered ground, from `layer` (the layer's
    /// image) and `light` (the light unit's): empty when either has no
    /// pixels.
    CppLib::SharedPtr<TextureSource> makeCoveredLayer(const CppLib::SharedPtr<TextureSource>& layer,
                                                      const CppLib::SharedPtr<TextureSource>& light) const;
    /// The light on covered ground, from the light unit's image.
    static float getCoveredLight(const TextureSource& light);
    /// Fills the grid; `alphas` gets each vertex's colour alpha, row by row.
    void buildVertices(VertexData& data, const CoordinateSets& sets, std::vector<float>& alphas) const;
    void buildMaterial();
    /// Whether the quads are sorted by their coats: with at least one layer
    /// and at most MAX_SORTED_COATS coats.
    bool sortsCoats() const;
    /// Finds where each coat shows, for getCoats(); the first layer's
    /// weights are the vertices' alphas.
    void buildCoverage(const std::vector<float>& vertexAlphas);
    /// One material for each set of coats left out.
    void buildCoatMaterials();
    /// The image a weight texture is sampled from, when it is read texel by
    /// texel: empty for none or for a mip-mapped one (a far mip-map level
    /// blends in texels from anywhere around).
    static CppLib::SharedPtr<TextureSource> getWeightImage(const CppLib::SharedPtr<Texture>& texture);
    /// The alpha map of the last of two or more layers; empty otherwise.
    CppLib::SharedPtr<TextureSource> getLastAlpha() const;
    /// Whether the tile has a usable base map.
    bool hasBase() const;
    /// The texture unit of layer `layer`'s texture; its alpha map is on the
    /// next unit. getLayerUnit(layer count) is the light unit.
    unsigned int getLayerUnit(unsigned int layer) const;
    /// Whether the unit after the layers is used: for the light map, or to
    /// carry the last layer's alpha map when there are two or more layers.
    bool hasLightUnit() const;
    /// That unit's texture: the light map (white without one) with `alpha`
    /// (empty: the light map's own) as its alpha.
    CppLib::SharedPtr<Texture> makeLightTexture(const CppLib::SharedPtr<TextureSource>& alpha) const;
    void deleteLayers();

    bool mEnabled = false;
    unsigned int mPosX;
    unsigned int mPosY;
    unsigned int mVertexNumPerEdge;
    float mOffset = 0.0f;
    float mMaxHeight = 10.0f;
    Terrain& mTerrain;
    CppLib::SharedPtr<TextureSource> mHeightMap;
    CppLib::SharedPtr<TextureSource> mSlopeMap;
    CppLib::SharedPtr<TextureSource> mNormalMap;
    CppLib::SharedPtr<TextureSource> mColorMap;
    CppLib::SharedPtr<TextureSource> mBaseMap;
    CppLib::SharedPtr<TextureSource> mLightMap;
    float mBaseMapScale = 0.0f;
    float mLightMapOffset = 0.0f;
    float mLightMapScale = 1.0f;
    CppLib::SharedPtr<VertexData> mVertexData;
    CppLib::SharedPtr<Material> mMaterial;
    unsigned int mCoats = 0;
    TerrainCoverage mCoverage;
    /// By the coats left out; empty when they are not sorted.
    std::vector<CppLib::SharedPtr<Material>> mCoatMaterials;
    CoverTest mCoverTest;
    Color mCoverColor;
    bool mCoverShown = true;
    CppLib::SharedPtr<Material> mCoverMaterial;
    /// Owned.
    CppLib::Vector<TextureLayer*> mTextureLayers;
    /// Reads mHeightMap in place (its channel and slice).
    HeightField mHeights;
};

} // namespace Velta
