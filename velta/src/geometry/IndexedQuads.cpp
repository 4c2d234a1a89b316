#include "geometry/IndexedQuads.h"

namespace Velta {

IndexedQuads::IndexedQuads(unsigned int capacity) : IndexElementData(QUADS, capacity, 8) {}

IndexedQuads::~IndexedQuads() = default;

IndexedQuads* IndexedQuads::clone() const
{
    return new IndexedQuads(*this);
}

void IndexedQuads::addQuad(unsigned int a, unsigned int b, unsigned int c, unsigned int d)
{
    mIndexData.addIndex(a);
    mIndexData.addIndex(b);
    mIndexData.addIndex(c);
    mIndexData.addIndex(d);
}

} // namespace Velta
