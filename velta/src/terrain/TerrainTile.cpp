#include "terrain/TerrainTile.h"

#include "cpplib/CowMemPtr.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "resource/Texture2D.h"
#include "resource/TextureData.h"
#include "resource/TextureProxy.h"
#include "resource/TextureSource.h"
#include "scene/BoundingBox.h"

#include <algorithm>
#include <cmath>

namespace Velta {

namespace {

/// An image with at least one pixel.
bool hasPixels(const TextureSource& image)
{
    const TextureInfo& info = image.getTextureInfo();
    return info.getWidth() > 0 && info.getHeight() > 0 && info.getDepth() > 0 && info.getChannels() > 0;
}

bool hasPixels(const CppLib::SharedPtr<TextureSource>& image)
{
    return !image.isNull() && hasPixels(*image);
}

/// Whether `image` is given but has no pixels.
bool isEmpty(const CppLib::SharedPtr<TextureSource>& image)
{
    return !image.isNull() && !hasPixels(*image);
}

/// Pixel index for `unit` (0 … 1) across `size` pixels, limited to the last.
unsigned int pixelIndex(float unit, unsigned int size)
{
    const unsigned int index = static_cast<unsigned int>(unit * static_cast<float>(size));
    return index < size ? index : size - 1;
}

} // namespace

Terrain::Tile::Tile(Terrain& terrain, unsigned int posX, unsigned int posY, unsigned int vertexNumPerEdge)
    : mPosX(posX), mPosY(posY), mVertexNumPerEdge(vertexNumPerEdge), mTerrain(terrain)
{
}

Terrain::Tile::~Tile()
{
    deleteLayers();
}

bool Terrain::Tile::load(const CppLib::SharedPtr<TextureSource>& heightMap, unsigned int channel, unsigned int slice)
{
    mHeightMap = heightMap;
    if (mHeights.assign(heightMap.get(), channel, slice) == HeightField::OK) {
        return true;
    }
    if (!heightMap.isNull()) {
        Terrain::logError(mHeights.describeStatus());
    }
    return false;
}

void Terrain::Tile::unload()
{
    mHeightMap.setNull();
    mSlopeMap.setNull();
    mNormalMap.setNull();
    mHeights.assign(nullptr, 0, 0);
    deleteLayers();
}

void Terrain::Tile::setColorMap(const CppLib::SharedPtr<TextureSource>& colorMap)
{
    mColorMap = colorMap;
    if (isEmpty(colorMap)) {
        Terrain::logError("Colour map without pixels; vertex colours follow the height");
    }
}

void Terrain::Tile::setBaseMap(const CppLib::SharedPtr<TextureSource>& baseMap, float scale)
{
    mBaseMap = baseMap;
    mBaseMapScale = scale;
    if (isEmpty(baseMap)) {
        Terrain::logError("Base map without pixels; the tile is drawn without it");
    }
}

void Terrain::Tile::setLightMap(const CppLib::SharedPtr<TextureSource>& lightMap, float scale, float offset)
{
    mLightMap = lightMap;
    mLightMapScale = scale;
    mLightMapOffset = offset;
    if (isEmpty(lightMap)) {
        Terrain::logError("Light map without pixels; the tile is drawn without it");
    }
}

unsigned int Terrain::Tile::addTextureLayer(const CppLib::SharedPtr<TextureSource>& texture,
                                            const CppLib::SharedPtr<TextureSource>& alpha, float scale)
{
    TextureLayer* layer = new TextureLayer();
    Texture2D* layerTexture = new Texture2D(texture);
    layer->texture = CppLib::SharedPtr<Texture>(layerTexture);
    layerTexture->setTexMode(Texture::PASS_PREVIOUS);
    layerTexture->setMinFilter(Texture::TRILINEAR);
    layerTexture->setGenerateMipMaps(true);
    Texture2D* alphaTexture = new Texture2D(alpha);
    layer->alpha = CppLib::SharedPtr<Texture>(alphaTexture);
    alphaTexture->setTexMode(Texture::BLEND_UNIT_BY_TEXTURE);
    layer->scale = scale;
    const unsigned int index = static_cast<unsigned int>(mTextureLayers.append(layer));
    if (isEmpty(texture) || isEmpty(alpha)) {
        Terrain::logError("Texture layer " + std::to_string(index) +
                          " has an image without pixels; its unit is drawn untextured");
    }
    return index;
}

CppLib::SharedPtr<TextureSource> Terrain::Tile::getSlopeMap()
{
    if (!mSlopeMap.isNull()) {
        return mSlopeMap;
    }
    const unsigned int n = mVertexNumPerEdge;
    CppLib::CowMemPtr<void> block;
    if (!block.alloc(n * n)) {
        return mSlopeMap;
    }
    unsigned char* bytes = static_cast<unsigned char*>(block.get());
    const float step = 1.0f / static_cast<float>(n);
    for (unsigned int y = 0; y < n; ++y) {
        for (unsigned int x = 0; x < n; ++x) {
            const float up = HeightField::clampUnit(getNormal(static_cast<float>(x) * step, static_cast<float>(y) * step).y());
            bytes[y * n + x] = static_cast<unsigned char>(std::lround(up * 255.0f));
        }
    }
    // Bytes 0 … 255: unsigned, so that readers take 255 as level ground.
    const TextureInfo info(n, n, 1, Color::LUMINANCE, DataType::UNSIGNED_BYTE);
    mSlopeMap = CppLib::SharedPtr<TextureSource>(new TextureData(info, block));
    return mSlopeMap;
}

float Terrain::Tile::getHeight(float u, float v) const
{
    return mHeights.interpolate(u, v) * mMaxHeight + mOffset;
}

std::pair<float, float> Terrain::Tile::getHeightRange(unsigned int left, unsigned int top, unsigned int right,
                                                      unsigned int bottom) const
{
    const float last = static_cast<float>(std::max(mVertexNumPerEdge, 2u) - 1);
    float low = getHeight(left / last, top / last);
    float high = low;
    for (unsigned int row = top; row <= bottom; ++row) {
        for (unsigned int column = left; column <= right; ++column) {
            const float height = getHeight(column / last, row / last);
            low = std::min(low, height);
            high = std::max(high, height);
        }
    }
    return {low, high};
}

CppLib::TVector<float, 3> Terrain::Tile::getNormal(float u, float v) const
{
    return mHeights.getNormal(u, v);
}

Color Terrain::Tile::getColor(float u, float v, float height) const
{
    if (hasPixels(mColorMap)) {
        const TextureInfo& info = mColorMap->getTextureInfo();
        return mColorMap->getPixelColor(pixelIndex(HeightField::clampUnit(u), info.getWidth()),
                                        pixelIndex(HeightField::clampUnit(v), info.getHeight()), 0);
    }
    if (height < 0.0f) {
        height = getHeight(u, v);
    }
    float grey = 0.2f;
    if (mMaxHeight != 0.0f) {
        grey = HeightField::clampUnit((height - mOffset) / mMaxHeight * 0.8f + 0.2f);
    }
    return Color(grey, grey, grey, 1.0f);
}

CppLib::TVector<float, 3> Terrain::Tile::getNormal(const PointHandle& handle, bool) const
{
    if (handle.getTile() != this) {
        return {0.0f, 1.0f, 0.0f};
    }
    return mTerrain.normalToWorld(getNormal(handle.getX(), handle.getY()));
}

CppLib::TVector<float, 3> Terrain::Tile::getNormal(const Point& world, bool flag) const
{
    return getNormal(mTerrain.getPointHandle(world), flag);
}

float Terrain::Tile::getDistance(const PointHandle& handle) const
{
    if (handle.getTile() != this) {
        return 0.0f;
    }
    const Point surface = mTerrain.toWorld(handle.getLocalSurfacePoint());
    const Point point(handle.getOrigPoint()); // divided by its w
    const CppLib::TVector<float, 3> difference = surface.toVector3() - point.toVector3();
    const float distance = difference.length();
    return handle.getLocalPoint().y() < handle.getLocalSurfacePoint().y() ? -distance : distance;
}

float Terrain::Tile::getDistance(const Point& world) const
{
    return getDistance(mTerrain.getPointHandle(world));
}

Point Terrain::Tile::getSurfacePoint(const PointHandle& handle) const
{
    return handle.getTile() == this ? mTerrain.getSurfacePoint(handle) : Point(0.0f, -1.0f, 0.0f);
}

Point Terrain::Tile::getSurfacePoint(const Point& world) const
{
    return getSurfacePoint(mTerrain.getPointHandle(world));
}

void Terrain::Tile::updateTile()
{
    CppLib::SharedPtr<VertexData> data(new VertexData());
    const bool textured = mTextureLayers.getSize() > 0 || hasBase() || hasLightUnit();
    data->setUseColor(true);
    data->setUseNormal(true);
    data->setUseTexCoordinates(textured);
    const CoordinateSets sets = declareCoordinateSets(*data);
    const unsigned int n = mVertexNumPerEdge;
    data->initialize(static_cast<int>(n * n), 12);
    std::vector<float> alphas;
    buildVertices(*data, sets, alphas);
    data->setModified();
    mVertexData = data;
    buildMaterial();
    buildCoverage(alphas);
    buildCoatMaterials();
    buildCoverMaterial();
    mTerrain.updateTile(mPosX, mPosY);
}

bool Terrain::Tile::sortsCoats() const
{
    const unsigned int layers = mTextureLayers.getSize();
    return layers > 0 && layers + (hasBase() ? 1u : 0u) <= MAX_SORTED_COATS;
}

void Terrain::Tile::buildCoverage(const std::vector<float>& vertexAlphas)
{
    const unsigned int layers = mTextureLayers.getSize();
    mCoats = (hasBase() ? 1u : 0u) | ((1u << layers) - 1u) << 1;
    if (!sortsCoats()) {
        mCoverage.clear(mCoats);
        return;
    }
    mCoverage.reset(mVertexNumPerEdge, hasBase(), layers);
    // The first layer is blended in by the vertex alpha.
    mCoverage.setVertexWeights(0, vertexAlphas);
    // A middle layer by the colour of its alpha map; the last by the alpha of
    // the light unit, which carries its alpha map.
    for (unsigned int i = 1; i + 1 < layers; ++i) {
        const CppLib::SharedPtr<TextureSource> weights = getWeightImage(mTextureLayers.get(i)->alpha);
        if (!weights.isNull()) {
            mCoverage.setImageWeights(i, *weights, TerrainCoverage::COLOUR);
        }
    }
    if (layers > 1) {
        const CppLib::SharedPtr<TextureSource> weights = getWeightImage(mMaterial->getTexture(getLayerUnit(layers)));
        if (!weights.isNull()) {
            mCoverage.setImageWeights(layers - 1, *weights, TerrainCoverage::ALPHA);
        }
    }
}

CppLib::SharedPtr<TextureSource> Terrain::Tile::getWeightImage(const CppLib::SharedPtr<Texture>& texture)
{
    if (texture.isNull() || (texture->getMinFilter() == Texture::MIPMAP && texture->doGenerateMipMaps())) {
        return CppLib::SharedPtr<TextureSource>();
    }
    return texture->getTextureSource(0, 0);
}

void Terrain::Tile::buildCoatMaterials()
{
    mCoatMaterials.clear();
    if (!sortsCoats()) {
        return;
    }
    const unsigned int layers = mTextureLayers.getSize();
    mCoatMaterials.resize(mCoats + 1);
    for (unsigned int leftOut = 1; leftOut <= mCoats; ++leftOut) {
        if ((leftOut & ~mCoats) != 0) {
            continue;
        }
        Material* material = new Material(*mMaterial);
        if (leftOut & 1u) {
            material->setTexture(0, CppLib::SharedPtr<Texture>());
        }
        for (unsigned int i = 0; i < layers; ++i) {
            if (leftOut & (2u << i)) {
                material->setTexture(getLayerUnit(i), CppLib::SharedPtr<Texture>());
                material->setTexture(getLayerUnit(i) + 1, CppLib::SharedPtr<Texture>());
            }
        }
        mCoatMaterials[leftOut] = CppLib::SharedPtr<Material>(material);
    }
}

CppLib::SharedPtr<Material> Terrain::Tile::getCoatMaterial(unsigned int leftOut) const
{
    if ((leftOut & UNCOVERED) != 0 && mCoverShown && !mCoverMaterial.isNull()) {
        return mCoverMaterial;
    }
    leftOut &= ~UNCOVERED;
    if (leftOut < mCoatMaterials.size() && !mCoatMaterials[leftOut].isNull()) {
        return mCoatMaterials[leftOut];
    }
    return mMaterial;
}

void Terrain::Tile::setCover(const CoverTest& test, const Color& colour)
{
    mCoverTest = test;
    mCoverColor = colour;
}

unsigned int Terrain::Tile::getLastLayerCoat() const
{
    const unsigned int layers = mTextureLayers.getSize();
    return layers >= 2 ? 2u << (layers - 1) : 0u;
}

bool Terrain::Tile::isCovered(unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) const
{
    if (mCoverMaterial.isNull() || getCoats(left, top, right, bottom) != getLastLayerCoat()) {
        return false;
    }
    const float last = static_cast<float>(mVertexNumPerEdge - 1);
    const float tileSize = mTerrain.getTileSize();
    const auto [low, high] = getHeightRange(left, top, right, bottom);
    return mCoverTest(BoundingBox(Point(left / last * tileSize, low, top / last * tileSize),
                                  Point(right / last * tileSize, high, bottom / last * tileSize)));
}

void Terrain::Tile::buildCoverMaterial()
{
    mCoverMaterial = CppLib::SharedPtr<Material>();
    const unsigned int lastCoat = getLastLayerCoat();
    if (!hasCover() || lastCoat == 0 || mVertexNumPerEdge < 2) {
        return;
    }
    const unsigned int layers = mTextureLayers.getSize();
    const unsigned int lightUnit = getLayerUnit(layers);
    const CppLib::SharedPtr<Texture> lightTexture = mMaterial->getTexture(lightUnit);
    const TextureLayer& top = *mTextureLayers.get(layers - 1);
    const CppLib::SharedPtr<TextureSource> covered = makeCoveredLayer(
        top.texture->getTextureSource(0, 0),
        lightTexture.isNull() ? CppLib::SharedPtr<TextureSource>() : lightTexture->getTextureSource(0, 0));
    if (covered.isNull()) {
        return;
    }
    // Ground that shows the last layer alone takes that layer with the
    // cover's colour mixed in, in place of what is under it: one texture
    // read where the layer and the light unit took two.
    Texture2D* layer = new Texture2D(covered);
    layer->setTexMode(Texture::REPLACE);
    layer->setMinFilter(top.texture->getMinFilter());
    layer->setGenerateMipMaps(top.texture->doGenerateMipMaps());

    Material* material = new Material(*getCoatMaterial(mCoats & ~lastCoat));
    material->setTexture(getLayerUnit(layers - 1), CppLib::SharedPtr<Texture>(layer));
    material->setTexture(lightUnit, CppLib::SharedPtr<Texture>());
    material->setMarksPixels(true);
    mCoverMaterial = CppLib::SharedPtr<Material>(material);
}

float Terrain::Tile::getCoveredLight(const TextureSource& light)
{
    // The light unit carries the last layer's weight in its alpha: the mean
    // light where that weight is whole, where the cover can lie. Without
    // such a texel no ground is covered, and any light will do.
    const TextureInfo& info = light.getTextureInfo();
    double sum = 0.0;
    size_t whole = 0;
    for (unsigned int y = 0; y < info.getHeight(); ++y) {
        for (unsigned int x = 0; x < info.getWidth(); ++x) {
            const Color texel = light.getPixelColor(x, y, 0);
            if (texel.a >= 1.0f) {
                sum += texel.r;
                ++whole;
            }
        }
    }
    return whole > 0 ? static_cast<float>(sum / static_cast<double>(whole)) : 1.0f;
}

CppLib::SharedPtr<TextureSource> Terrain::Tile::makeCoveredLayer(const CppLib::SharedPtr<TextureSource>& layer,
                                                                 const CppLib::SharedPtr<TextureSource>& light) const
{
    // Each texel is the layer lit and seen through the cover:
    // layer × light × shown + cover × hidden. The light is taken as one
    // value all over the covered ground (the layer repeats across the tile
    // and the light map does not): the light map must be grey, and should
    // vary little under the cover, as it does on the level bed of a river.
    if (!hasPixels(layer) || !hasPixels(light)) {
        return CppLib::SharedPtr<TextureSource>();
    }
    const TextureInfo& info = layer->getTextureInfo();
    const unsigned int width = info.getWidth();
    const unsigned int height = info.getHeight();
    CppLib::CowMemPtr<void> block;
    if (!block.alloc(static_cast<size_t>(width) * height * 3)) {
        return CppLib::SharedPtr<TextureSource>();
    }
    const float hidden = HeightField::clampUnit(mCoverColor.a);
    const float lit = HeightField::clampUnit(getCoveredLight(*light)) * (1.0f - hidden);
    const float cover[3] = {mCoverColor.r * hidden, mCoverColor.g * hidden, mCoverColor.b * hidden};
    unsigned char* bytes = static_cast<unsigned char*>(block.get());
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int x = 0; x < width; ++x) {
            const Color texel = layer->getPixelColor(x, y, 0);
            const float ground[3] = {texel.r, texel.g, texel.b};
            unsigned char* pixel = bytes + (static_cast<size_t>(y) * width + x) * 3;
            for (int channel = 0; channel < 3; ++channel) {
                const float value = HeightField::clampUnit(ground[channel] * lit + cover[channel]);
                pixel[channel] = static_cast<unsigned char>(std::lround(value * 255.0f));
            }
        }
    }
    const TextureInfo coveredInfo(width, height, 1, Color::RGB, DataType::UNSIGNED_BYTE);
    return CppLib::SharedPtr<TextureSource>(new TextureData(coveredInfo, block));
}

Terrain::Tile::CoordinateSets Terrain::Tile::declareCoordinateSets(VertexData& data) const
{
    CoordinateSets sets;
    int next = 0;
    if (hasBase()) {
        data.addTextureIndex(0);
        sets.base = next++;
    }
    const unsigned int layers = mTextureLayers.getSize();
    for (unsigned int i = 0; i < layers; ++i) {
        data.addTextureIndex(getLayerUnit(i));
        sets.layers.append(next++);
        if (i != 0 && i + 1 != layers) {
            data.addTextureIndex(getLayerUnit(i) + 1);
            sets.alphas.append(next++);
        } else {
            sets.alphas.append(-1);
        }
    }
    if (hasLightUnit()) {
        data.addTextureIndex(getLayerUnit(layers));
        sets.light = next++;
    }
    return sets;
}

void Terrain::Tile::buildVertices(VertexData& data, const CoordinateSets& sets, std::vector<float>& alphas) const
{
    alphas.clear();
    alphas.reserve(static_cast<size_t>(mVertexNumPerEdge) * mVertexNumPerEdge);
    const unsigned int n = mVertexNumPerEdge;
    const float tileSize = mTerrain.getTileSize();
    const float last = n > 1 ? static_cast<float>(n - 1) : 1.0f;
    // Texture repetitions per vertex step; a scale that is not positive
    // repeats the texture once across the tile.
    const auto repeatStep = [tileSize, n](float scale) {
        const float worldPerRepeat = scale > 0.0f && std::isfinite(scale) ? scale : tileSize;
        return tileSize / (static_cast<float>(n) * worldPerRepeat);
    };
    const float baseStep = repeatStep(mBaseMapScale);

    for (unsigned int j = 0; j < n; ++j) {
        const float v = static_cast<float>(j) / last;
        for (unsigned int i = 0; i < n; ++i) {
            const float u = static_cast<float>(i) / last;
            const float h = getHeight(u, v);
            data.addVertex();
            data.setVertex(u * tileSize, h, v * tileSize);
            const Color colour = getColor(u, v, h);
            data.setColor(colour);
            alphas.push_back(colour.a);
            if (sets.base >= 0) {
                data.setTexCoordinate(i * baseStep, j * baseStep, static_cast<unsigned int>(sets.base));
            }
            for (unsigned int k = 0; k < sets.layers.getSize(); ++k) {
                const float step = repeatStep(mTextureLayers.get(k)->scale);
                data.setTexCoordinate(i * step, j * step, static_cast<unsigned int>(sets.layers.get(k)));
                if (sets.alphas.get(k) >= 0) {
                    data.setTexCoordinate(u, v, static_cast<unsigned int>(sets.alphas.get(k)));
                }
            }
            if (sets.light >= 0) {
                data.setTexCoordinate(u, v, static_cast<unsigned int>(sets.light));
            }
            const CppLib::TVector<float, 3> normal = getNormal(u, v);
            data.setNormal(normal.x(), normal.y(), normal.z());
        }
    }
}

void Terrain::Tile::buildMaterial()
{
    CppLib::SharedPtr<Material> material(new Material());
    // Vertex colours (colour map or height ramp) drive the lit colour; their
    // alpha is a blend weight, not coverage, so nothing is alpha-tested away.
    material->setUseMaterialColor(true);
    material->setUseAlphaTest(false);
    // The ground is seen from above only: the backs of the slopes facing away
    // are hidden by their fronts and need not be drawn.
    material->setCullBackFaces(true);

    if (hasBase()) {
        Texture2D* base = new Texture2D(mBaseMap);
        base->setTexMode(Texture::MODULATE);
        base->setAllFilters(Texture::TRILINEAR);
        base->setGenerateMipMaps(true);
        material->setTexture(0, CppLib::SharedPtr<Texture>(base));
    }
    const unsigned int layers = mTextureLayers.getSize();
    for (unsigned int i = 0; i < layers; ++i) {
        TextureLayer& layer = *mTextureLayers.get(i);
        if (i == 0) {
            layer.texture->setTexMode(Texture::BLEND_BY_VERTEX_ALPHA);
        } else if (i + 1 == layers) {
            layer.texture->setTexMode(Texture::BLEND_BY_UNIT_ALPHA);
        } else {
            layer.texture->setTexMode(Texture::PASS_PREVIOUS);
        }
        material->setTexture(getLayerUnit(i), layer.texture);
        material->setTexture(getLayerUnit(i) + 1, layer.alpha);
    }
    if (hasLightUnit()) {
        material->setTexture(getLayerUnit(layers), makeLightTexture(getLastAlpha()));
    }
    mMaterial = material;
}

CppLib::SharedPtr<TextureSource> Terrain::Tile::getLastAlpha() const
{
    const unsigned int layers = mTextureLayers.getSize();
    return layers > 1 ? mTextureLayers.get(layers - 1)->alpha->getTextureSource(0, 0)
                      : CppLib::SharedPtr<TextureSource>();
}

bool Terrain::Tile::hasBase() const
{
    return hasPixels(mBaseMap);
}

unsigned int Terrain::Tile::getLayerUnit(unsigned int layer) const
{
    return (hasBase() ? 1u : 0u) + 2 * layer;
}

bool Terrain::Tile::hasLightUnit() const
{
    return hasPixels(mLightMap) || hasPixels(getLastAlpha());
}

CppLib::SharedPtr<Texture> Terrain::Tile::makeLightTexture(const CppLib::SharedPtr<TextureSource>& alpha) const
{
    // Colour: the light map × scale + offset, or white without one; alpha:
    // the red of the last layer's alpha map, which the last layer blends by
    // (so the unit is there whenever that layer needs it).
    CppLib::SharedPtr<TextureSource> combined;
    if (hasPixels(mLightMap)) {
        combined = CppLib::SharedPtr<TextureSource>(
            new TextureProxy(mLightMap, alpha, mLightMapScale, mLightMapOffset, 0));
    } else {
        combined = CppLib::SharedPtr<TextureSource>(new TextureProxy(alpha, alpha, 0.0f, 1.0f, 0));
    }
    Texture2D* light = new Texture2D(combined);
    light->setTexMode(Texture::MODULATE_PREVIOUS);
    return CppLib::SharedPtr<Texture>(light);
}

void Terrain::Tile::deleteLayers()
{
    for (TextureLayer* layer : mTextureLayers) {
        delete layer;
    }
    mTextureLayers.clear();
}

} // namespace Velta
