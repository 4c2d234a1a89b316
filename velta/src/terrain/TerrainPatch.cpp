#include "terrain/TerrainPatch.h"

#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexedTriangleStrip.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "terrain/TerrainTile.h"

#include <algorithm>

namespace Velta {

Terrain::Patch::Patch(Tile& tile, unsigned int vertexCount, unsigned int posX, unsigned int posY)
    : Leaf(OBJECT), mTile(&tile), mVertexCount(vertexCount), mPosX(posX), mPosY(posY), mGeometry(new GeometryData())
{
}

Terrain::Patch::~Patch() = default;

const CppLib::SharedPtr<Material> Terrain::Patch::getMaterial(unsigned int) const
{
    return mTile->getMaterial();
}

CppLib::SharedPtr<Material> Terrain::Patch::getMaterial(unsigned int)
{
    return mTile->getMaterial();
}

const CppLib::SharedPtr<Geometry> Terrain::Patch::getGeometry(int) const
{
    return mGeometry;
}

CppLib::SharedPtr<Geometry> Terrain::Patch::getGeometry(int)
{
    return mGeometry;
}

void Terrain::Patch::updatePatch()
{
    const CppLib::SharedPtr<VertexData> vertices = mTile->getVertexData();
    if (!mTile->isEnabled() || vertices.isNull()) {
        return;
    }
    // The tile builds a new grid on every update: draw the current one.
    if (mGeometry->getIndexedData(0).get() != vertices.get()) {
        mGeometry->setIndexedVertexData(vertices);
    }
    if (mGeometry->getElementGroups().getSize() == 0) {
        buildStrips();
    }

    const unsigned int n = mTile->getVertexNumPerEdge();
    const unsigned int column0 = mPosX * mVertexCount;
    const unsigned int row0 = mPosY * mVertexCount;
    if (n < 2 || column0 >= n - 1 || row0 >= n - 1) {
        mBoundingBox.setEmpty();
    } else {
        const float last = static_cast<float>(n - 1);
        const float tileSize = mTile->mTerrain.getTileSize();
        const unsigned int column1 = std::min(column0 + mVertexCount, n - 1);
        const unsigned int row1 = std::min(row0 + mVertexCount, n - 1);
        const float offset = mTile->getOffset();
        mBoundingBox.set(Point(column0 / last * tileSize, offset, row0 / last * tileSize),
                         Point(column1 / last * tileSize, offset + mTile->getMaxHeight(), row1 / last * tileSize));
    }
    mGeometry->setBoundingVolume(new BoundingBox(mBoundingBox));
    setModified(false);
}

void Terrain::Patch::buildStrips()
{
    const unsigned int n = mTile->getVertexNumPerEdge();
    const unsigned int column0 = mPosX * mVertexCount;
    const unsigned int row0 = mPosY * mVertexCount;
    if (n < 2 || column0 >= n - 1 || row0 >= n - 1) {
        return;
    }
    const unsigned int column1 = std::min(column0 + mVertexCount, n - 1);
    const unsigned int row1 = std::min(row0 + mVertexCount, n - 1);

    // One strip per column of quads, running down the rows. Starting each
    // step on the right-hand column splits every quad along its
    // (column, row)–(column + 1, row + 1) diagonal, counter-clockwise from
    // above.
    GeometryDataGroup& group = mGeometry->createGroup();
    for (unsigned int column = column0; column < column1; ++column) {
        IndexedTriangleStrip* strip = new IndexedTriangleStrip(2 * (row1 - row0 + 1));
        for (unsigned int row = row0; row <= row1; ++row) {
            strip->addVertice(row * n + column + 1);
            strip->addVertice(row * n + column);
        }
        group.addElement(*strip);
    }
}

} // namespace Velta
