#include "terrain/TerrainBlockPart.h"

#include "geometry/IndexElementData.h"
#include "terrain/TerrainBlock.h"

#include <algorithm>

namespace Velta {

TerrainBlockPart::TerrainBlockPart(const TerrainBlock& block, unsigned int leftOut)
    : mBlock(&block), mLeftOut(leftOut)
{
    // The strip and at most one seam per edge: showing allocates nothing.
    mDrawn.reserve(1 + TerrainBlock::EDGE_COUNT);
}

TerrainBlockPart::~TerrainBlockPart()
{
    for (IndexElementData* strip : mStrips) {
        delete strip;
    }
}

const BoundingBox* TerrainBlockPart::getBounds() const
{
    return mBlock->getBounds();
}

void TerrainBlockPart::collectAllElements(CppLib::Vector<GeometryElement*>& elements) const
{
    for (IndexElementData* strip : mStrips) {
        if (strip) {
            elements.append(strip);
        }
    }
    if (mLeftOut == 0) {
        mBlock->collectSeams(elements);
    }
}

void TerrainBlockPart::setStrip(unsigned int level, IndexElementData* strip)
{
    if (level >= LEVELS) {
        delete strip;
        return;
    }
    delete mStrips[level];
    mStrips[level] = strip;
}

IndexElementData* TerrainBlockPart::getStrip(unsigned int level) const
{
    return level < LEVELS ? mStrips[level] : nullptr;
}

void TerrainBlockPart::show(unsigned int level, const CppLib::Vector<GeometryElement*>& extras)
{
    mDrawn.clear();
    if (IndexElementData* strip = getStrip(std::min(level, LEVELS - 1))) {
        mDrawn.append(strip);
    }
    for (GeometryElement* extra : extras) {
        mDrawn.append(extra);
    }
}

} // namespace Velta
