#pragma once

#include "VeltaExport.h"
#include "cpplib/Point.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "cpplib/Vector.h"
#include "scene/ObjectNode.h"

#include <string>

namespace Velta {

class Material;
class Node;

/// Ground made of height-mapped tiles laid in a grid on the horizontal plane
/// of its local frame, and the questions a vehicle on it asks: the tile under
/// a point, the ground below or above it, the signed distance to it and the
/// ground normal there.
///
/// Tile (x, y) covers local x from x × tileSize and local z from y × tileSize,
/// each up to but not including the next tile's start; a point exactly on the
/// far border of the grid is outside it. Each tile (Terrain::Tile, in
/// "terrain/TerrainTile.h") is drawn as Terrain::Patch leaves
/// ("terrain/TerrainPatch.h") below a transformation node of its own.
///
/// A plain scene node, owned by whoever made it; the terrain owns its tiles,
/// patches and the nodes that place them. Queries take world points: the
/// terrain's world matrix is the one the last update pass gave it (the
/// identity before its first). Queries allocate nothing.
class VELTA_EXPORT Terrain : public ObjectNode {
public:
    class Tile;
    class Patch;

    /// One point looked up once: the tile under it and where it lies on it,
    /// so several questions about the point cost one lookup. Valid while the
    /// terrain exists and until its matrix or the tile's height map changes.
    class VELTA_EXPORT PointHandle {
    public:
        PointHandle(const PointHandle&) = default;
        PointHandle& operator=(const PointHandle&) = default;

        /// The tile under the point; null outside the grid.
        Tile* getTile() const { return mTile; }
        bool inTerrain() const { return mTile != nullptr; }

        /// The point in the terrain's local frame.
        const Point& getLocalPoint() const { return mLocalPoint; }
        /// The ground point straight below or above it (local frame); the
        /// point itself outside the grid.
        const Point& getLocalSurfacePoint() const { return mLocalSurfacePoint; }
        /// The point as asked for (world frame).
        const Point& getOrigPoint() const { return mOrigPoint; }
        /// Position across the tile, 0 … 1 on each axis (x along local x,
        /// y along local z).
        float getX() const { return mX; }
        float getY() const { return mY; }

    private:
        friend class Terrain;

        PointHandle(Tile* tile, const Point& local, const Point& surface, const Point& orig, float x, float y)
            : mTile(tile), mLocalPoint(local), mLocalSurfacePoint(surface), mOrigPoint(orig), mX(x), mY(y)
        {
        }

        Tile* mTile;
        Point mLocalPoint;
        Point mLocalSurfacePoint;
        Point mOrigPoint;
        float mX;
        float mY;
    };

    /// An empty grid of `tilesX` × `tilesY` tiles; initializeTerrain() makes
    /// them. The default material lets vertex colours drive lighting.
    Terrain(unsigned int tilesX, unsigned int tilesY);
    ~Terrain() override;

    /// Makes the tiles and their patches: each tile has 2^(patchDetail +
    /// patchLevels) vertices per edge and is cut into 2^patchLevels × 2^patchLevels
    /// patches; `tileSize` is its edge length in local units. Does nothing
    /// when the tiles exist. A tile size that is not positive, or more than
    /// 2^12 vertices per edge, builds nothing and logs one line on "terrain".
    void initializeTerrain(unsigned int patchDetail, unsigned int patchLevels, float tileSize);

    unsigned int getTilesX() const { return mTilesX; }
    unsigned int getTilesY() const { return mTilesY; }
    /// Edge length of a tile; 0 before initializeTerrain().
    float getTileSize() const { return mTileSize; }
    float getSizeX() const { return static_cast<float>(mTilesX) * mTileSize; }
    float getSizeY() const { return static_cast<float>(mTilesY) * mTileSize; }
    /// Patches per tile edge.
    unsigned int getPatchesPerEdge() const { return mPatchesPerEdge; }

    /// Tile (x, y); null outside the grid or before initializeTerrain().
    Tile* getTile(unsigned int x, unsigned int y) const;
    /// The tile under a world point, or the handle's tile; null outside.
    Tile* getTile(const Point& world) const;
    Tile* getTile(const PointHandle& handle) const { return handle.getTile(); }

    /// All patches: tile by tile, each tile's row by row.
    unsigned int getPatchCount() const { return mPatches.getSize(); }
    Patch* getPatch(unsigned int index) const { return mPatches.get(index); }

    /// Looks a world point up. Outside the grid (negative local coordinates
    /// included) the handle has no tile.
    PointHandle getPointHandle(const Point& world) const;

    /// The ground point straight below or above the point, in world
    /// coordinates; (0, −1, 0) outside the grid.
    Point getSurfacePoint(const Point& world) const;
    Point getSurfacePoint(const PointHandle& handle) const;

    /// World distance from the point to its ground point: negative below the
    /// ground, 0 outside the grid.
    float getDistance(const Point& world) const;
    float getDistance(const PointHandle& handle) const;

    /// The ground normal (world axes, length 1); (0, 1, 0) outside the grid.
    /// The flag is accepted and not consulted.
    CppLib::TVector<float, 3> getNormal(const Point& world, bool flag) const;
    CppLib::TVector<float, 3> getNormal(const PointHandle& handle, bool flag) const;

    /// −1 outside the grid; 0 on it (slopes are not modelled).
    float getSlope(const Point& world) const;

    /// Rebuilds the index strips and bounds of tile (x, y)'s patches over the
    /// tile's current vertex grid (Tile::updateTile() builds the grid and
    /// calls this). Nothing outside the grid.
    void updateTile(unsigned int x, unsigned int y);

    /// The default material, whatever the index.
    CppLib::SharedPtr<Material> getDefaultMaterial(unsigned int index) override;
    const CppLib::SharedPtr<Material> getDefaultMaterial(unsigned int index) const;

private:
    /// One line at error level on the "terrain" logger; nothing when the
    /// core is not running.
    static void logError(const std::string& message);

    /// Local point → tile index and position across it; false outside.
    bool findTile(const Point& local, unsigned int& tileX, unsigned int& tileY, float& u, float& v) const;
    Point toLocal(const Point& world) const;
    Point toWorld(const Point& local) const;
    CppLib::TVector<float, 3> normalToWorld(const CppLib::TVector<float, 3>& normal) const;

    CppLib::SharedPtr<Material> mDefaultMaterial;
    unsigned int mTilesX;
    unsigned int mTilesY;
    float mTileSize = 0.0f;
    double mInverseTileSize = 0.0;
    unsigned int mPatchDetail = 0;
    unsigned int mPatchesPerEdge = 1;
    /// Owned, row-major: index = tilesX × y + x.
    CppLib::Vector<Tile*> mTiles;
    /// Owned, like the nodes that place the tiles.
    CppLib::Vector<Patch*> mPatches;
    CppLib::Vector<Node*> mPlacements;
};

} // namespace Velta
