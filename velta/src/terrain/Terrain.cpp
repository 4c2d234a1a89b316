#include "terrain/Terrain.h"

#include "core/VeltaCore.h"
#include "resource/Material.h"
#include "scene/Branch.h"
#include "scene/TransformationNode.h"
#include "terrain/TerrainPatch.h"
#include "terrain/TerrainTile.h"

#include <cmath>

namespace Velta {

namespace {

/// Vertices per tile edge are 2^(patchDetail + patchLevels); 2^12 per edge
/// already makes a vertex grid of more than a gigabyte.
constexpr unsigned int MAX_DOUBLINGS = 12;

/// Which of `count` cells of edge `size` (1 / `inverse`) holds `position`,
/// and where across that cell it lies (0 … 1). Exact at the borders: a
/// position on a border belongs to the cell that starts there, so the far
/// border of the last cell is outside. Negative positions and NaN are
/// outside.
bool locateOnAxis(float position, double size, double inverse, unsigned int count, unsigned int& index,
                  float& fraction)
{
    const double p = position;
    const double estimate = p * inverse;
    if (!(p >= 0.0) || !(estimate < static_cast<double>(count) + 1.0)) {
        return false;
    }
    // The product may round across a border; the products with the size
    // are exact for the float positions and sizes involved.
    double cell = static_cast<double>(static_cast<unsigned long long>(estimate));
    if (cell * size > p) {
        cell -= 1.0;
    } else if ((cell + 1.0) * size <= p) {
        cell += 1.0;
    }
    if (!(cell < static_cast<double>(count))) {
        return false;
    }
    index = static_cast<unsigned int>(cell);
    fraction = static_cast<float>((p - cell * size) * inverse);
    return true;
}

} // namespace

Terrain::Terrain(unsigned int tilesX, unsigned int tilesY)
    : mDefaultMaterial(new Material()), mTilesX(tilesX), mTilesY(tilesY)
{
    mDefaultMaterial->setUseMaterialColor(true);
    mDefaultMaterial->setUseDefaultVertexColor(false);
}

Terrain::~Terrain()
{
    // Leaves first: destroying a node takes it out of its parent.
    for (Patch* patch : mPatches) {
        delete patch;
    }
    for (Node* node : mPlacements) {
        delete node;
    }
    for (Tile* tile : mTiles) {
        delete tile;
    }
}

void Terrain::initializeTerrain(unsigned int patchDetail, unsigned int patchLevels, float tileSize)
{
    if (mTiles.getSize() > 0) {
        return;
    }
    if (!(tileSize > 0.0f) || !std::isfinite(tileSize)) {
        logError("Invalid tile size " + std::to_string(tileSize) + "; the terrain stays empty");
        return;
    }
    if (patchDetail > MAX_DOUBLINGS || patchLevels > MAX_DOUBLINGS - patchDetail) {
        logError("Too many vertices per tile edge: 2^" + std::to_string(patchDetail) + " × 2^" +
                 std::to_string(patchLevels) + "; the terrain stays empty");
        return;
    }
    mTileSize = tileSize;
    mInverseTileSize = 1.0 / tileSize;
    mPatchDetail = patchDetail;
    mPatchesPerEdge = 1u << patchLevels;
    const unsigned int patchVertices = 1u << patchDetail;
    const unsigned int tileVertices = 1u << (patchDetail + patchLevels);

    for (unsigned int y = 0; y < mTilesY; ++y) {
        for (unsigned int x = 0; x < mTilesX; ++x) {
            Tile* tile = new Tile(*this, x, y, tileVertices);
            mTiles.append(tile);

            TransformationNode* placement = new TransformationNode();
            Branch* branch = new Branch();
            mPlacements.append(placement);
            mPlacements.append(branch);
            placement->setChild(*branch);
            placement->translate(static_cast<float>(x) * tileSize, 0.0f, static_cast<float>(y) * tileSize, true);
            attachChild(*placement);

            for (unsigned int py = 0; py < mPatchesPerEdge; ++py) {
                for (unsigned int px = 0; px < mPatchesPerEdge; ++px) {
                    Patch* patch = new Patch(*tile, patchVertices, px, py);
                    mPatches.append(patch);
                    branch->attachChild(*patch);
                }
            }
        }
    }
}

Terrain::Tile* Terrain::getTile(unsigned int x, unsigned int y) const
{
    if (mTiles.getSize() == 0 || x >= mTilesX || y >= mTilesY) {
        return nullptr;
    }
    return mTiles.get(mTilesX * y + x);
}

Terrain::Tile* Terrain::getTile(const Point& world) const
{
    unsigned int x = 0;
    unsigned int y = 0;
    float u = 0.0f;
    float v = 0.0f;
    return findTile(toLocal(world), x, y, u, v) ? getTile(x, y) : nullptr;
}

Terrain::PointHandle Terrain::getPointHandle(const Point& world) const
{
    const Point local = toLocal(world);
    unsigned int x = 0;
    unsigned int y = 0;
    float u = 0.0f;
    float v = 0.0f;
    if (!findTile(local, x, y, u, v)) {
        if (mTileSize > 0.0f) {
            u = local.x() / mTileSize;
            v = local.z() / mTileSize;
        }
        return PointHandle(nullptr, local, local, world, u, v);
    }
    Tile* tile = getTile(x, y);
    Point surface = local;
    surface.y() = tile->getHeight(u, v);
    return PointHandle(tile, local, surface, world, u, v);
}

Point Terrain::getSurfacePoint(const Point& world) const
{
    return getSurfacePoint(getPointHandle(world));
}

Point Terrain::getSurfacePoint(const PointHandle& handle) const
{
    return handle.getTile() ? toWorld(handle.getLocalSurfacePoint()) : Point(0.0f, -1.0f, 0.0f);
}

float Terrain::getDistance(const Point& world) const
{
    return getDistance(getPointHandle(world));
}

float Terrain::getDistance(const PointHandle& handle) const
{
    return handle.getTile() ? handle.getTile()->getDistance(handle) : 0.0f;
}

CppLib::TVector<float, 3> Terrain::getNormal(const Point& world, bool flag) const
{
    return getNormal(getPointHandle(world), flag);
}

CppLib::TVector<float, 3> Terrain::getNormal(const PointHandle& handle, bool flag) const
{
    return handle.getTile() ? handle.getTile()->getNormal(handle, flag) : CppLib::TVector<float, 3>(0.0f, 1.0f, 0.0f);
}

float Terrain::getSlope(const Point& world) const
{
    Tile* tile = getTile(world);
    return tile ? tile->getSlope(world) : -1.0f;
}

void Terrain::updateTile(unsigned int x, unsigned int y)
{
    if (!getTile(x, y)) {
        return;
    }
    const unsigned int perTile = mPatchesPerEdge * mPatchesPerEdge;
    const unsigned int first = (mTilesX * y + x) * perTile;
    for (unsigned int i = first; i < first + perTile; ++i) {
        mPatches.get(i)->updatePatch();
    }
}

CppLib::SharedPtr<Material> Terrain::getDefaultMaterial(unsigned int)
{
    return mDefaultMaterial;
}

const CppLib::SharedPtr<Material> Terrain::getDefaultMaterial(unsigned int) const
{
    return mDefaultMaterial;
}

void Terrain::logError(const std::string& message)
{
    VeltaCore::getLogger("terrain")->error(message);
}

bool Terrain::findTile(const Point& local, unsigned int& tileX, unsigned int& tileY, float& u, float& v) const
{
    return mTiles.getSize() > 0 && locateOnAxis(local.x(), mTileSize, mInverseTileSize, mTilesX, tileX, u) &&
           locateOnAxis(local.z(), mTileSize, mInverseTileSize, mTilesY, tileY, v);
}

Point Terrain::toLocal(const Point& world) const
{
    return Point(getTransformedNode().getInverseWorldTransformation() * world);
}

Point Terrain::toWorld(const Point& local) const
{
    return Point(getTransformedNode().getWorldTransformation() * local);
}

CppLib::TVector<float, 3> Terrain::normalToWorld(const CppLib::TVector<float, 3>& normal) const
{
    const CppLib::Matrix<float, 4>& world = getTransformedNode().getWorldTransformation();
    if (world.isIdentity()) {
        return normal;
    }
    // Normals go by the inverse transpose, so they stay at right angles to
    // the surface under scaling and shearing.
    const CppLib::Matrix<float, 4>& inverse = getTransformedNode().getInverseWorldTransformation();
    CppLib::TVector<float, 3> result;
    for (int i = 0; i < 3; ++i) {
        result[i] = inverse.get(0, i) * normal[0] + inverse.get(1, i) * normal[1] + inverse.get(2, i) * normal[2];
    }
    const float length = result.length();
    return length > 0.0f ? result * (1.0f / length) : result;
}

} // namespace Velta
