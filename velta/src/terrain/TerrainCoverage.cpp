#include "terrain/TerrainCoverage.h"

#include "resource/TextureSource.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Velta {

namespace {

constexpr unsigned char PARTLY = TerrainCoverage::SHOWS | TerrainCoverage::SHOWS_THROUGH;

unsigned char reachOfWeight(float weight)
{
    unsigned char reach = 0;
    if (weight > 0.0f) {
        reach |= TerrainCoverage::SHOWS;
    }
    if (weight < 1.0f) {
        reach |= TerrainCoverage::SHOWS_THROUGH;
    }
    return reach;
}

/// First and last texel, across `size` texels, that a bilinear filter reads
/// between texture coordinates `from` and `to`, with one to spare on each
/// side against rounding; either may lie past the image's edge.
std::pair<long, long> texelSpan(double from, double to, unsigned int size)
{
    return {static_cast<long>(std::floor(from * size - 0.5)) - 1, static_cast<long>(std::floor(to * size - 0.5)) + 2};
}

/// Calls `visit` with each texel of `span`. Past an edge a repeated texture
/// reads the far side and a clamped one its edge: both are visited.
template <typename Visit>
void forEachTexel(const std::pair<long, long>& span, unsigned int size, Visit visit)
{
    const long count = static_cast<long>(size);
    for (long i = span.first; i <= span.second; ++i) {
        visit(static_cast<unsigned int>((i % count + count) % count));
        if (i < 0 || i >= count) {
            visit(static_cast<unsigned int>(std::clamp(i, 0L, count - 1)));
        }
    }
}

} // namespace

void TerrainCoverage::clear(unsigned int coats)
{
    mAllCoats = coats;
    mTracking = false;
    mHasBase = false;
    mVertices = 0;
    mLayers.clear();
}

void TerrainCoverage::reset(unsigned int vertices, bool hasBase, unsigned int layers)
{
    clear((hasBase ? 1u : 0u) | ((1u << layers) - 1u) << 1);
    mTracking = vertices >= 2;
    mHasBase = hasBase;
    mVertices = vertices;
    mLayers.resize(layers);
}

void TerrainCoverage::setVertexWeights(unsigned int layer, const std::vector<float>& weights)
{
    if (!mTracking || layer >= mLayers.size() || weights.size() != static_cast<size_t>(mVertices) * mVertices) {
        return;
    }
    Layer& target = mLayers[layer];
    target.byVertex = true;
    target.reach.resize(weights.size());
    std::transform(weights.begin(), weights.end(), target.reach.begin(), reachOfWeight);
}

void TerrainCoverage::setImageWeights(unsigned int layer, const TextureSource& image, Channels channels)
{
    if (!mTracking || layer >= mLayers.size()) {
        return;
    }
    Layer& target = mLayers[layer];
    target.byVertex = false;
    target.reach.clear();
    const TextureInfo& info = image.getTextureInfo();
    const unsigned int width = info.getWidth();
    const unsigned int height = info.getHeight();
    // An alpha-only image has no colour of its own: OpenGL blends by 0 where
    // its pixel colours read white. It counts as showing partly everywhere.
    const bool colourless = info.getChannels() == 1 && info.getColorFormat() != Color::LUMINANCE;
    if (width == 0 || height == 0 || info.getChannels() == 0 || (channels == COLOUR && colourless)) {
        return;
    }

    std::vector<unsigned char> texels(static_cast<size_t>(width) * height);
    for (unsigned int y = 0; y < height; ++y) {
        for (unsigned int x = 0; x < width; ++x) {
            const Color pixel = image.getPixelColor(x, y, 0);
            texels[static_cast<size_t>(y) * width + x] =
                channels == ALPHA ? reachOfWeight(pixel.a)
                                  : reachOfWeight(pixel.r) | reachOfWeight(pixel.g) | reachOfWeight(pixel.b);
        }
    }

    // Quad column c covers texture coordinates c / quads to (c + 1) / quads
    // across; rows likewise down. What each row of texels shows under each
    // column of quads first, then each quad from its rows.
    const unsigned int quads = mVertices - 1;
    std::vector<unsigned char> rowReach(static_cast<size_t>(height) * quads, 0);
    for (unsigned int column = 0; column < quads; ++column) {
        const auto span = texelSpan(static_cast<double>(column) / quads, static_cast<double>(column + 1) / quads, width);
        for (unsigned int y = 0; y < height; ++y) {
            unsigned char& reach = rowReach[static_cast<size_t>(y) * quads + column];
            forEachTexel(span, width, [&](unsigned int x) { reach |= texels[static_cast<size_t>(y) * width + x]; });
        }
    }
    target.reach.assign(static_cast<size_t>(quads) * quads, 0);
    for (unsigned int row = 0; row < quads; ++row) {
        const auto span = texelSpan(static_cast<double>(row) / quads, static_cast<double>(row + 1) / quads, height);
        for (unsigned int column = 0; column < quads; ++column) {
            unsigned char& reach = target.reach[static_cast<size_t>(row) * quads + column];
            forEachTexel(span, height, [&](unsigned int y) { reach |= rowReach[static_cast<size_t>(y) * quads + column]; });
        }
    }
}

unsigned int TerrainCoverage::getCoats(unsigned int left, unsigned int top, unsigned int right,
                                       unsigned int bottom) const
{
    if (!mTracking) {
        return mAllCoats;
    }
    // From the top layer down: each that shows is drawn; one that lets
    // nothing through hides every coat under it.
    unsigned int coats = 0;
    for (size_t layer = mLayers.size(); layer-- > 0;) {
        const unsigned int reach = reachOf(mLayers[layer], left, top, right, bottom);
        if (reach & SHOWS) {
            coats |= 2u << layer;
        }
        if (!(reach & SHOWS_THROUGH)) {
            return coats;
        }
    }
    return mHasBase ? coats | 1u : coats;
}

unsigned int TerrainCoverage::reachOf(const Layer& layer, unsigned int left, unsigned int top, unsigned int right,
                                      unsigned int bottom) const
{
    if (layer.reach.empty() || left >= right || top >= bottom || right >= mVertices || bottom >= mVertices) {
        return PARTLY;
    }
    if (layer.byVertex) {
        const auto at = [&](unsigned int column, unsigned int row) {
            return layer.reach[static_cast<size_t>(row) * mVertices + column];
        };
        return at(left, top) | at(right, top) | at(left, bottom) | at(right, bottom);
    }
    const unsigned int quads = mVertices - 1;
    unsigned int reach = 0;
    for (unsigned int row = top; row < bottom && reach != PARTLY; ++row) {
        for (unsigned int column = left; column < right; ++column) {
            reach |= layer.reach[static_cast<size_t>(row) * quads + column];
        }
    }
    return reach;
}

} // namespace Velta
