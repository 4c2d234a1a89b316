#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/Vector.h"
#include "geometry/GeometryGroup.h"
#include "scene/BoundingBox.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace Velta {

class IndexElementData;

/// One block of a terrain patch: a rectangle of quads of the tile's vertex
/// grid, drawn at one of LEVELS levels of detail, one element group of the
/// patch's geometry.
///
/// Level l takes every 2^l-th vertex column and row of the block, starting
/// at its first and always ending at its last (so a block whose width is no
/// multiple of 2^l has a narrower last column). Each level is one triangle
/// strip; quads are split along their (column, row)–(column + 1, row + 1)
/// diagonal and wound counter-clockwise seen from above, so level 0 draws
/// exactly the triangles the height queries interpolate on.
///
/// Where a block meets a neighbour drawn finer, its coarser edge leaves a
/// crack below or above the neighbour's edge vertices. The block then also
/// draws a seam along that edge: upright triangles, in the plane of the edge,
/// between its own edge and the neighbour's, wound both ways (the ground's
/// back faces are culled). The seam shares every edge with the triangles on
/// either side, so the drawn surface is closed.
///
/// Every strip and seam is built with the block; select() only picks which
/// are drawn and allocates nothing. Made and owned by its patch, through the
/// patch's geometry.
class VELTA_EXPORT TerrainBlock : public GeometryGroup {
public:
    static constexpr unsigned int LEVELS = 3;

    /// Edges, in the tile's grid: TOP is the block's first row (lowest z),
    /// BOTTOM its last, LEFT its first column (lowest x), RIGHT its last.
    enum Edge { TOP, RIGHT, BOTTOM, LEFT, EDGE_COUNT };

    /// Builds every level and seam for columns `left` … `right` and rows
    /// `top` … `bottom` (inclusive, left < right, top < bottom) of a grid of
    /// `rowLength` vertices per row. Drawn at level 0 until select().
    TerrainBlock(unsigned int rowLength, unsigned int left, unsigned int top, unsigned int right,
                 unsigned int bottom);
    ~TerrainBlock() override;

    TerrainBlock(const TerrainBlock&) = delete;
    TerrainBlock& operator=(const TerrainBlock&) = delete;

    unsigned int getLeft() const { return mLeft; }
    unsigned int getTop() const { return mTop; }
    unsigned int getRight() const { return mRight; }
    unsigned int getBottom() const { return mBottom; }

    /// Always material 0, the patch's.
    unsigned int getMaterialIndex() const override { return 0; }

    /// The strip of the selected level, then the seams it needs.
    CppLib::Vector<GeometryElement*>& getElementList(int) override { return mDrawn; }
    const CppLib::Vector<GeometryElement*>& getElementList(int) const override { return mDrawn; }

    /// Box from the block's lowest to its highest vertex, in the vertex frame;
    /// none until set.
    void setBounds(const BoundingBox& bounds);
    const BoundingBox* getBounds() const override { return mHasBounds ? &mBounds : nullptr; }

    /// What the grid holds at a vertex, as drawn.
    struct Sample {
        float height;
        Color color;
    };
    /// Answers the sample at the grid's vertex (column, row).
    using SampleAt = std::function<Sample(unsigned int, unsigned int)>;

    /// Measures how far each level strays from the full grid, in units of
    /// height: the largest gap between a vertex's height and the level's
    /// triangles above or below it, or between its colour and the colour the
    /// level draws there, as a fraction of the width (`spacing` between
    /// vertices) of the level's quad it is smeared across, whichever is
    /// larger. The colour counts because it carries the ground's blend
    /// weights: a coarse level must not move where the grass ends.
    void measureErrors(const SampleAt& sample, float spacing);
    /// The largest gap of `level` (limited to the coarsest); 0 for level 0,
    /// and for every level until measured.
    float getError(unsigned int level) const { return mErrors[std::min(level, LEVELS - 1)]; }

    /// Draws the block at `level` (limited to the coarsest), with a seam
    /// along each edge whose neighbour is drawn at a finer level, given per
    /// edge in Edge order (a neighbour at this level or coarser needs none:
    /// it draws the seam itself).
    void select(unsigned int level, const unsigned int (&neighbourLevels)[EDGE_COUNT]);
    unsigned int getLevel() const { return mLevel; }

private:
    void buildStrip(unsigned int level);
    /// The largest gap between the block's vertices from (left, top) to
    /// (right, bottom) and the quad drawn over them; `samples` holds the
    /// block's vertices row by row.
    float measureQuad(const std::vector<Sample>& samples, unsigned int left, unsigned int top, unsigned int right,
                      unsigned int bottom, float spacing) const;
    void buildSeam(Edge edge, unsigned int coarse, unsigned int fine);
    /// Vertex index of position `along` (a column for TOP and BOTTOM, a row
    /// for LEFT and RIGHT) on `edge`.
    unsigned int edgeVertex(Edge edge, unsigned int along) const;

    unsigned int mRowLength;
    unsigned int mLeft;
    unsigned int mTop;
    unsigned int mRight;
    unsigned int mBottom;
    unsigned int mLevel = 0;
    /// Owned: the strip of each level, and the seam from level `coarse`
    /// down to a finer level `fine` along each edge (null for fine ≥ coarse).
    IndexElementData* mStrips[LEVELS] = {};
    IndexElementData* mSeams[EDGE_COUNT][LEVELS][LEVELS] = {};
    /// Borrowed from the two above: what is drawn now.
    CppLib::Vector<GeometryElement*> mDrawn;
    float mErrors[LEVELS] = {};
    BoundingBox mBounds;
    bool mHasBounds = false;
};

} // namespace Velta
