#include "geometry/IndexedQuadStrip.h"

namespace Velta {

IndexedQuadStrip::IndexedQuadStrip(unsigned int capacity) : IndexElementData(QUAD_STRIP, capacity, 12) {}

IndexedQuadStrip::~IndexedQuadStrip() = default;

IndexedQuadStrip* IndexedQuadStrip::clone() const
{
    return new IndexedQuadStrip(*this);
}

void IndexedQuadStrip::addQuad(unsigned int a, unsigned int b)
{
    mIndexData.addIndex(a);
    mIndexData.addIndex(b);
}

} // namespace Velta
