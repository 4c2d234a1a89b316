#include "geometry/IndexedTriangles.h"

namespace Velta {

IndexedTriangles::IndexedTriangles(unsigned int capacity) : IndexElementData(TRIANGLES, capacity, 6) {}

IndexedTriangles::~IndexedTriangles() = default;

IndexedTriangles* IndexedTriangles::clone() const
{
    return new IndexedTriangles(*this);
}

void IndexedTriangles::addTriangle(unsigned int a, unsigned int b, unsigned int c)
{
    mIndexData.addIndex(a);
    mIndexData.addIndex(b);
    mIndexData.addIndex(c);
}

} // namespace Velta
