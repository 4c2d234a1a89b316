#pragma once

#include "VeltaExport.h"

#include <vector>

namespace Velta {

class TextureSource;

/// Where each texture layer of a terrain tile shows, quad by quad of its
/// vertex grid, as far as drawing needs to know: whether a layer shows at all
/// over a stretch of ground, and whether it lets what lies under it show
/// through. A layer of weight 0 all over a stretch need not be drawn there,
/// and neither need the coats under a layer of weight 1 all over it.
///
/// Coats are the tile's base map (bit 0 of a coat set) and its layers (bit
/// 1 + i for layer i), each blended over the ones before it by its weight.
/// A layer's weight comes either from the vertices (interpolated across each
/// triangle from its corners), or from an image the renderer samples across
/// the tile with bilinear filtering: over a quad such a layer may show any
/// texel the filter reaches there, taken with a texel to spare on each side
/// and wrapping round the image's edges as a repeated texture does.
///
/// Filled by its tile at each update; answers without allocating.
class VELTA_EXPORT TerrainCoverage {
public:
    /// What a weight does over a stretch of ground.
    enum Reach : unsigned char {
        SHOWS = 1,         ///< above 0 somewhere: the layer shows
        SHOWS_THROUGH = 2  ///< below 1 somewhere: what lies under it shows
    };
    /// Which channels of a weight image blend: its alpha, or its red, green
    /// and blue each (a layer shows when any does, hides when all are full).
    enum Channels { ALPHA, COLOUR };

    /// Tracks nothing: every quad shows every coat of `coats`.
    void clear(unsigned int coats);

    /// Starts tracking `layers` layers over a grid of `vertices` × `vertices`
    /// vertices, over a base map when `hasBase`. Every layer shows partly
    /// everywhere until its weights are set.
    void reset(unsigned int vertices, bool hasBase, unsigned int layers);

    /// Layer `layer` is weighted at each vertex: `weights` holds the grid's
    /// weights row by row (0 … 1). Ignored when the size differs.
    void setVertexWeights(unsigned int layer, const std::vector<float>& weights);

    /// Layer `layer` is weighted by `channels` of `image`, sampled with its
    /// first pixel at the tile's first corner and stretched across the tile.
    /// An image without pixels leaves the layer showing partly everywhere.
    void setImageWeights(unsigned int layer, const TextureSource& image, Channels channels);

    /// The coats that show on the quads from vertex column `left` to `right`
    /// and row `top` to `bottom` (left < right, top < bottom, within the
    /// grid); every coat while nothing is tracked.
    unsigned int getCoats(unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) const;

private:
    struct Layer {
        /// The reach at each vertex (byVertex) or over each quad of the grid.
        std::vector<unsigned char> reach;
        bool byVertex = false;
    };

    unsigned int reachOf(const Layer& layer, unsigned int left, unsigned int top, unsigned int right,
                         unsigned int bottom) const;

    unsigned int mAllCoats = 0;
    bool mTracking = false;
    bool mHasBase = false;
    unsigned int mVertices = 0;
    std::vector<Layer> mLayers;
};

} // namespace Velta
