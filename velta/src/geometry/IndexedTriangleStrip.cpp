#include "geometry/IndexedTriangleStrip.h"

namespace Velta {

IndexedTriangleStrip::IndexedTriangleStrip(unsigned int capacity) : IndexElementData(TRIANGLE_STRIP, capacity, 12) {}

IndexedTriangleStrip::~IndexedTriangleStrip() = default;

IndexedTriangleStrip* IndexedTriangleStrip::clone() const
{
    return new IndexedTriangleStrip(*this);
}

void IndexedTriangleStrip::addVertice(unsigned int index)
{
    mIndexData.addIndex(index);
}

} // namespace Velta
