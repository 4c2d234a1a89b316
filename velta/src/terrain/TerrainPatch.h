#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "scene/BoundingBox.h"
#include "scene/Drawable.h"
#include "scene/Leaf.h"
#include "terrain/Terrain.h"

#include <functional>

namespace Velta {

class GeometryData;

/// The drawable part of a tile: a square of the tile's vertex grid drawn as
/// triangle strips over the tile's shared vertices, with the tile's material.
///
/// Patch (px, py) of a tile with n vertices per patch edge covers vertex
/// columns px × n to px × n + n and rows likewise, limited to the tile's last
/// vertex, so neighbouring patches share their border vertices and leave no
/// gap. Every quad is drawn as two triangles split along its diagonal from
/// (column, row) to (column + 1, row + 1), the triangles the height queries
/// interpolate on, wound counter-clockwise seen from above. Each block of at
/// most BLOCK_QUADS × BLOCK_QUADS quads is one strip in a group of its own,
/// bounded by its lowest and highest vertex, so that a renderer draws only
/// the blocks in view; the strip's row pairs are joined by triangles without
/// area.
///
/// Made by Terrain::initializeTerrain() and owned by the terrain; the update
/// of its tile builds its strips (once) and its bound.
class VELTA_EXPORT Terrain::Patch : public Leaf, public Drawable {
public:
    /// Quads along each edge of a block of strips.
    static constexpr unsigned int BLOCK_QUADS = 16;

    ~Patch() override;

    Tile* getTile() const { return mTile; }
    unsigned int getPosX() const { return mPosX; }
    unsigned int getPosY() const { return mPosY; }
    /// n: vertices per patch edge.
    unsigned int getVertexCount() const { return mVertexCount; }

    /// The tile's material, whatever the index.
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

    /// Takes over the tile's current vertex grid, builds the strips when
    /// there are none yet and sets the bound. Nothing for a disabled tile.
    void updatePatch();

private:
    friend class Terrain;

    Patch(Tile& tile, unsigned int vertexCount, unsigned int posX, unsigned int posY);

    void buildStrips();
    void boundBlocks();
    /// Calls `visit(left, top, right, bottom)` with the first and last vertex
    /// column and row of each block, row of blocks by row of blocks.
    void forEachBlock(const std::function<void(unsigned int, unsigned int, unsigned int, unsigned int)>& visit) const;

    Tile* mTile;
    unsigned int mVertexCount;
    unsigned int mPosX;
    unsigned int mPosY;
    CppLib::SharedPtr<GeometryData> mGeometry;
    BoundingBox mBoundingBox;
};

} // namespace Velta
