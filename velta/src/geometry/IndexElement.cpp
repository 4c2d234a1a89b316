#include "geometry/IndexElement.h"

#include "geometry/IndexDataSet.h"
#include "geometry/VertexDataSet.h"

namespace Velta {

IndexElement::~IndexElement() = default;

unsigned int IndexElement::getDrawCount(const VertexDataSet& vertices) const
{
    const IndexDataSet& indices = getIndexList();
    return indices.fitsVertexCount(vertices.getCount()) ? indices.getCount() : 0;
}

} // namespace Velta
