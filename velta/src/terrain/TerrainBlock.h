#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/Vector.h"
#include "scene/BoundingBox.h"
#include "terrain/TerrainBlockPart.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace Velta {

class GeometryElement;
class IndexElementData;

/// One block of a terrain patch: a rectangle of quads of the tile's vertex
/// grid, drawn at one of LEVELS levels of detail.
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
/// The block draws itself in parts (TerrainBlockPart), the element groups of
/// the patch's geometry: its quads sorted by the coats they show (the tile's
/// base map and texture layers; sortQuads()), each part drawn with only the
/// texture units of its coats. The first part always has the whole material
/// and draws the seams too.
///
/// Every strip and seam is built with the block, and again by sortQuads();
/// select() only picks which are drawn and allocates nothing. Made and owned
/// by its patch.
class VELTA_EXPORT TerrainBlock {
public:
    static constexpr unsigned int LEVELS = TerrainBlockPart::LEVELS;

    /// Edges, in the tile's grid: TOP is the block's first row (lowest z),
    /// BOTTOM its last, LEFT its first column (lowest x), RIGHT its last.
    enum Edge { TOP, RIGHT, BOTTOM, LEFT, EDGE_COUNT };

    /// Builds every level and seam for columns `left` … `right` and rows
    /// `top` … `bottom` (inclusive, left < right, top < bottom) of a grid of
    /// `rowLength` vertices per row, every quad in the first part. Drawn at
    /// level 0 until select().
    TerrainBlock(unsigned int rowLength, unsigned int left, unsigned int top, unsigned int right,
                 unsigned int bottom);
    ~TerrainBlock();

    TerrainBlock(const TerrainBlock&) = delete;
    TerrainBlock& operator=(const TerrainBlock&) = delete;

    unsigned int getLeft() const { return mLeft; }
    unsigned int getTop() const { return mTop; }
    unsigned int getRight() const { return mRight; }
    unsigned int getBottom() const { return mBottom; }

    /// Box from the block's lowest to its highest vertex, in the vertex frame;
    /// none until set.
    void setBounds(const BoundingBox& bounds);
    const BoundingBox* getBounds() const { return mHasBounds ? &mBounds : nullptr; }

    /// The coats (a set of bits) that show on the quads from vertex column
    /// `left` to `right` and row `top` to `bottom`.
    using CoatsOf = std::function<unsigned int(unsigned int, unsigned int, unsigned int, unsigned int)>;

    /// Sorts the quads of every level into parts by `coatsOf` (limited to
    /// `allCoats`): one part for each set of coats left out of `allCoats`,
    /// the whole material's first. Without `coatsOf` every quad goes to the
    /// first part. Keeps the selection.
    void sortQuads(const CoatsOf& coatsOf, unsigned int allCoats);

    /// At least one; the first leaves nothing out.
    unsigned int getPartCount() const { return static_cast<unsigned int>(mParts.size()); }
    TerrainBlockPart& getPart(unsigned int index) const { return *mParts[index]; }

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

    /// Appends every seam the block may draw.
    void collectSeams(CppLib::Vector<GeometryElement*>& elements) const;

private:
    /// Indices of one strip for each set of coats.
    using Strips = std::vector<std::pair<unsigned int, std::vector<unsigned int>>>;

    /// The strips of `level`: each pair of rows, from the block's last,
    /// cut into runs of quads that show the same coats.
    Strips buildStrips(unsigned int level, const CoatsOf& coatsOf, unsigned int allCoats) const;
    /// Appends the quads between columns `from` and `to` of the rows `lower`
    /// and `upper` at `level` to a strip.
    void appendRun(std::vector<unsigned int>& strip, unsigned int lower, unsigned int upper, unsigned int from,
                   unsigned int to, unsigned int level) const;
    TerrainBlockPart& partLeavingOut(unsigned int leftOut);
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
    unsigned int mNeighbourLevels[EDGE_COUNT] = {};
    /// The quads' strips, by the coats they leave out.
    std::vector<std::unique_ptr<TerrainBlockPart>> mParts;
    /// Owned: the seam from level `coarse` down to a finer level `fine`
    /// along each edge (null for fine ≥ coarse).
    IndexElementData* mSeams[EDGE_COUNT][LEVELS][LEVELS] = {};
    /// Borrowed from mSeams: the seams drawn now, and none.
    CppLib::Vector<GeometryElement*> mSeamsDrawn;
    const CppLib::Vector<GeometryElement*> mNoSeams;
    float mErrors[LEVELS] = {};
    BoundingBox mBounds;
    bool mHasBounds = false;
};

} // namespace Velta
