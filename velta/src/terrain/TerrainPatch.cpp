#include "terrain/TerrainPatch.h"

#include "geometry/GeometryData.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "scene/TransformedNode.h"
#include "terrain/TerrainTile.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace Velta {

Terrain::Patch::Patch(Tile& tile, unsigned int vertexCount, unsigned int posX, unsigned int posY)
    : Leaf(OBJECT), mTile(&tile), mVertexCount(vertexCount), mPosX(posX), mPosY(posY), mGeometry(new GeometryData())
{
}

Terrain::Patch::~Patch()
{
    // The geometry may outlive the patch; the blocks' parts do not.
    mGeometry->getElementGroups().clear();
}

const CppLib::SharedPtr<Material> Terrain::Patch::getMaterial(unsigned int index) const
{
    return mTile->getCoatMaterial(index);
}

CppLib::SharedPtr<Material> Terrain::Patch::getMaterial(unsigned int index)
{
    return mTile->getCoatMaterial(index);
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
    if (mBlocks.empty()) {
        buildBlocks();
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
    sortBlocks();
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

void Terrain::Patch::buildBlocks()
{
    const unsigned int n = mTile->getVertexNumPerEdge();
    mBlocksPerRow = 0;
    mBlockRows = 0;
    forEachBlock([this, n](unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) {
        if (top == mPosY * mVertexCount) {
            ++mBlocksPerRow;
        }
        if (left == mPosX * mVertexCount) {
            ++mBlockRows;
        }
        mBlocks.push_back(std::make_unique<TerrainBlock>(n, left, top, right, bottom));
    });
    mLevels.assign(mBlocksPerRow * mBlockRows, 0);
}

TerrainBlock* Terrain::Patch::getBlock(unsigned int column, unsigned int row) const
{
    if (column >= mBlocksPerRow || row >= mBlockRows) {
        return nullptr;
    }
    return mBlocks[row * mBlocksPerRow + column].get();
}

void Terrain::Patch::sortBlocks()
{
    const Tile& tile = *mTile;
    const unsigned int allCoats = tile.getCoats();
    CppLib::Vector<GeometryGroup*>& groups = mGeometry->getElementGroups();
    groups.clear();
    for (const auto& block : mBlocks) {
        block->sortQuads(
            [&tile](unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) {
                const bool covered = tile.isCovered(left, top, right, bottom);
                return tile.getCoats(left, top, right, bottom) | (covered ? 0u : Tile::UNCOVERED);
            },
            allCoats);
        for (unsigned int part = 0; part < block->getPartCount(); ++part) {
            groups.append(&block->getPart(part));
        }
    }
}

void Terrain::Patch::selectDetail(const Point& eye)
{
    if (mLevels.empty()) {
        return;
    }
    const Point local(getTransformedNode().getInverseWorldTransformation() * eye);
    for (unsigned int row = 0; row < mBlockRows; ++row) {
        for (unsigned int column = 0; column < mBlocksPerRow; ++column) {
            const BoundingBox* bounds = getBlock(column, row)->getBounds();
            float distance = 0.0f;
            if (bounds && bounds->getState() == BoundingVolume::FINITE) {
                // From the eye to the nearest point of the block's box.
                float squared = 0.0f;
                for (int axis = 0; axis < 3; ++axis) {
                    const float outside = std::max({bounds->getMin()[axis] - local[axis], 0.0f,
                                                    local[axis] - bounds->getMax()[axis]});
                    squared += outside * outside;
                }
                distance = std::sqrt(squared);
            }
            mLevels[row * mBlocksPerRow + column] = levelForDistance(*getBlock(column, row), distance);
        }
    }
    // A block's neighbours across the patch's border count as full detail:
    // the border is drawn in full from both sides.
    const auto levelAt = [this](unsigned int column, unsigned int row) {
        return column < mBlocksPerRow && row < mBlockRows ? mLevels[row * mBlocksPerRow + column] : 0u;
    };
    for (unsigned int row = 0; row < mBlockRows; ++row) {
        for (unsigned int column = 0; column < mBlocksPerRow; ++column) {
            const unsigned int neighbours[TerrainBlock::EDGE_COUNT] = {
                levelAt(column, row - 1), levelAt(column + 1, row), levelAt(column, row + 1), levelAt(column - 1, row)};
            getBlock(column, row)->select(mLevels[row * mBlocksPerRow + column], neighbours);
        }
    }
}

unsigned int Terrain::Patch::levelForDistance(const TerrainBlock& block, float distance)
{
    const float allowed = distance * DETAIL_TOLERANCE;
    unsigned int level = 0;
    for (unsigned int coarser = 1; coarser < TerrainBlock::LEVELS; ++coarser) {
        if (block.getError(coarser) <= allowed) {
            level = coarser;
        }
    }
    return level;
}

void Terrain::Patch::boundBlocks()
{
    // Each block's box reaches from its lowest to its highest vertex, so
    // that the renderer can leave out the blocks the view does not see; its
    // levels' errors decide how far away each may be drawn.
    const unsigned int n = mTile->getVertexNumPerEdge();
    const float last = static_cast<float>(n - 1);
    const float tileSize = mTile->mTerrain.getTileSize();
    unsigned int index = 0;
    forEachBlock([&](unsigned int left, unsigned int top, unsigned int right, unsigned int bottom) {
        TerrainBlock* block = mBlocks[index++].get();
        const auto [low, high] = mTile->getHeightRange(left, top, right, bottom);
        block->measureErrors(
            [&](unsigned int column, unsigned int row) {
                const float height = mTile->getHeight(column / last, row / last);
                return TerrainBlock::Sample{height, mTile->getColor(column / last, row / last, height)};
            },
            tileSize / last);
        block->setBounds(BoundingBox(Point(left / last * tileSize, low, top / last * tileSize),
                                     Point(right / last * tileSize, high, bottom / last * tileSize)));
    });
}

} // namespace Velta
