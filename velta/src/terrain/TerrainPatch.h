#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "scene/BoundingBox.h"
#include "scene/Drawable.h"
#include "scene/Leaf.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainBlock.h"

#include <functional>
#include <memory>
#include <vector>

namespace Velta {

class GeometryData;

/// The drawable part of a tile: a square of the tile's vertex grid drawn as
/// triangle strips over the tile's shared vertices, with the tile's material.
///
/// Patch (px, py) of a tile with n vertices per patch edge covers vertex
/// columns px × n to px × n + n and rows likewise, limited to the tile's last
/// vertex, so neighbouring patches share their border vertices and leave no
/// gap. It is cut into blocks of at most BLOCK_QUADS × BLOCK_QUADS quads
/// (TerrainBlock), each bounded by its lowest and highest vertex, so that a
/// renderer draws only the blocks in view. The element groups of its
/// geometry are the blocks' parts: each block's quads sorted by the coats
/// they show (Tile::getCoats()), each drawn with the tile's material less
/// the texture units of the coats it leaves out.
///
/// Each block is drawn with less detail the farther it lies from the eye
/// (selectDetail): at the coarsest level whose triangles stray from the full
/// grid by at most DETAIL_TOLERANCE times the block's distance. Blocks that meet a finer
/// neighbour close the crack with a seam; along the patch's border the
/// blocks meet the full grid, so patches need not know each other's detail.
/// Until the first selectDetail() every block is drawn in full: the
/// triangles the height queries interpolate on.
///
/// Made by Terrain::initializeTerrain() and owned by the terrain; the update
/// of its tile builds its blocks (once) and its bound.
class VELTA_EXPORT Terrain::Patch : public Leaf, public Drawable {
public:
    /// Quads along each edge of a block of strips.
    static constexpr unsigned int BLOCK_QUADS = 16;
    /// The largest height error a block may show per unit of its distance
    /// from the eye. Chosen on the game's valley, whose rock faces are rough
    /// at every vertex. Over a flight down the river (221 viewpoints) its
    /// pictures differ from the full grid's by 1.2 of 255 per pixel on
    /// average (0.8 at two thirds of it; at 4/3 of it the grass visibly
    /// creeps up the banks), mostly on far rock faces, and from one step of
    /// the flight to the next they change by at most 0.15 more than the full
    /// grid's do: no block visibly pops. The software renderer's frame takes
    /// 3 to 6 % fewer instructions than at two thirds of it; a larger
    /// tolerance gains little more.
    static constexpr float DETAIL_TOLERANCE = 0.06f;

    ~Patch() override;

    Tile* getTile() const { return mTile; }
    unsigned int getPosX() const { return mPosX; }
    unsigned int getPosY() const { return mPosY; }
    /// n: vertices per patch edge.
    unsigned int getVertexCount() const { return mVertexCount; }

    /// The tile's material less the coats in `index` (Tile::getCoatMaterial).
    const CppLib::SharedPtr<Material> getMaterial(unsigned int index) const override;
    CppLib::SharedPtr<Material> getMaterial(unsigned int index) override;

    /// The strips over the tile's vertex grid; no groups before the tile's
    /// first update.
    const CppLib::SharedPtr<Geometry> getGeometry(int index) const override;
    CppLib::SharedPtr<Geometry> getGeometry(int index) override;

    /// The box from the patch's corner at the tile's offset to its far
    /// corner at offset + maxHeight (tile-local); EMPTY before the first
    /// update.
    const BoundingVolume* getBoundingVolume() const override { return &mBoundingBox; }
    const BoundingVolume* getPhysicsVolume() const override { return &mBoundingBox; }

    /// Takes over the tile's current vertex grid, builds the blocks when
    /// there are none yet, sets the bounds and sorts the blocks' quads by
    /// their coats. Nothing for a disabled tile.
    void updatePatch();

    /// Chooses each block's level from its distance to `eye` (world), and
    /// the seams between levels. Allocates nothing.
    void selectDetail(const Point& eye) override;

    /// Blocks along the patch's columns and rows; 0 before the first update.
    unsigned int getBlocksPerRow() const { return mBlocksPerRow; }
    unsigned int getBlockRows() const { return mBlockRows; }
    /// Block (column, row); null outside or before the first update.
    TerrainBlock* getBlock(unsigned int column, unsigned int row) const;

private:
    friend class Terrain;

    Patch(Tile& tile, unsigned int vertexCount, unsigned int posX, unsigned int posY);

    void buildBlocks();
    void boundBlocks();
    /// Sorts every block's quads by the coats they show and lists the
    /// blocks' parts as the geometry's element groups.
    void sortBlocks();
    /// The coarsest level of `block` that DETAIL_TOLERANCE allows at
    /// `distance` from the eye.
    static unsigned int levelForDistance(const TerrainBlock& block, float distance);
    /// Calls `visit(left, top, right, bottom)` with the first and last vertex
    /// column and row of each block, row of blocks by row of blocks.
    void forEachBlock(const std::function<void(unsigned int, unsigned int, unsigned int, unsigned int)>& visit) const;

    Tile* mTile;
    unsigned int mVertexCount;
    unsigned int mPosX;
    unsigned int mPosY;
    CppLib::SharedPtr<GeometryData> mGeometry;
    BoundingBox mBoundingBox;
    unsigned int mBlocksPerRow = 0;
    unsigned int mBlockRows = 0;
    /// Row by row. Their parts are listed in mGeometry but not owned by it:
    /// the patch takes them off the list before they go.
    std::vector<std::unique_ptr<TerrainBlock>> mBlocks;
    /// Each block's level in the last selection, row by row.
    std::vector<unsigned int> mLevels;
};

} // namespace Velta
