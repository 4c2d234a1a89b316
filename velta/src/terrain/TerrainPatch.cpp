#include "terrain/TerrainPatch.h"

#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexedTriangleStrip.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "terrain/TerrainTile.h"

#include <algorithm>
#include <functional>

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
        boundBlocks();
    }
    mGeometry->setBoundingVolume(new BoundingBox(mBoundingBox));
    setModified(false);
}

void Terrain::Patch::forEachBlock(const std::function<void(unsigned int, unsigned int, unsigned int, unsigned int)>& visit) const
{
    const unsigned int n = mTile->getVertexNumPerEdge();
    const unsigned int column0 = mPosX * mVertexCount;
    const unsigned int row0 = mPosY * mVertexCount;
    if (n < 2 || column0 >= n - 1 || row0 >= n - 1) {
        return;
    }
    const unsigned int column1 = std::min(column0 + mVertexCount, n - 1);
    const unsigned int row1 = std::min(row0 + mVertexCount, n - 1);
    for (unsigned int top = row0; top < row1; top += BLOCK_QUADS) {
        for (unsigned int left = column0; left < column1; left += BLOCK_QUADS) {
            visit(left, top, std::min(left + BLOCK_QUADS, column1), std::min(top + BLOCK_QUADS, row1));
        }
    }
}

void Terrain::Patch::buildStrips()
{
    // One strip per block of quads. It runs along the rows, from the block's
    // last pair of rows up to its first, each pair from the left column to
    // the right one, taking the lower row's vertex before the upper row's:
    // every quad is split along its (column, row)–(column + 1, row + 1)
    // diagonal, and a vertex shared by two pairs of rows comes up again
    // while a renderer that keeps recent vertices still has it. Row pairs are
    // joined by two repeated indices, and one more at the start puts every
    // triangle counter-clockwise from above; the joins make triangles
    // without area, which draw nothing.
    const unsigned int n = mTile->getVertexNumPerEdge();
    forEachBlock([this, n](unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) {
        const unsigned int pairs = bottom - top;
        const unsigned int perPair = 2 * (right - left + 1);
        auto* strip = new IndexedTriangleStrip(1 + pairs * perPair + 2 * (pairs - 1));
        for (unsigned int upper = bottom; upper-- > top;) {
            const unsigned int lower = upper + 1;
            strip->addVertice(lower * n + left);
            for (unsigned int column = left; column <= right; ++column) {
                strip->addVertice(lower * n + column);
                strip->addVertice(upper * n + column);
            }
            if (upper > top) {
                strip->addVertice(upper * n + right);
            }
        }
        mGeometry->createGroup().addElement(*strip);
    });
}

void Terrain::Patch::boundBlocks()
{
    // Each block's box reaches from its lowest to its highest vertex, so
    // that the renderer can leave out the blocks the view does not see.
    const unsigned int n = mTile->getVertexNumPerEdge();
    const float last = static_cast<float>(n - 1);
    const float tileSize = mTile->mTerrain.getTileSize();
    unsigned int index = 0;
    forEachBlock([&](unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) {
        auto* group = dynamic_cast<GeometryDataGroup*>(mGeometry->getElementGroups().get(static_cast<int>(index++)));
        if (!group) {
            return;
        }
        float low = mTile->getHeight(left / last, top / last);
        float high = low;
        for (unsigned int row = top; row <= bottom; ++row) {
            for (unsigned int column = left; column <= right; ++column) {
                const float height = mTile->getHeight(column / last, row / last);
                low = std::min(low, height);
                high = std::max(high, height);
            }
        }
        group->setBounds(BoundingBox(Point(left / last * tileSize, low, top / last * tileSize),
                                     Point(right / last * tileSize, high, bottom / last * tileSize)));
    });
}

} // namespace Velta
