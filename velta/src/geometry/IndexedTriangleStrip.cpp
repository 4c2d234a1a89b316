#include "geometry/IndexedTriangleStrip.h"

namespace Velta {

IndexedTriangleStrip::IndexedTriangleStrip(unsigned int capacity) : IndexElementData(TRIANGLE_STRIP, capacity, 12) {}

IndexedTriangleStrip::~IndexedTriangleStrip() = default;

void IndexedTriangleStrip::addVertice(unsigned int index)
{
    mIndexData.addIndex(index);
}

} // namespace Velta
