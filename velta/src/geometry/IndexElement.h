#pragma once

#include "VeltaExport.h"
#include "geometry/GeometryElement.h"

namespace Velta {

class IndexDataSet;
class VertexDataSet;

/// An element drawn through an index list into vertex arrays it does not
/// own (the geometry's shared vertex data).
class VELTA_EXPORT IndexElement : public virtual GeometryElement {
public:
    ~IndexElement() override;

    virtual IndexDataSet& getIndexList() = 0;
    virtual const IndexDataSet& getIndexList() const = 0;

    /// How many indices may be drawn into `vertices`: all of them when every
    /// index refers to one of its vertices, otherwise none. An element that
    /// points past the vertex data is refused as a whole rather than cut, so
    /// nothing is ever read past the vertex arrays.
    unsigned int getDrawCount(const VertexDataSet& vertices) const;
};

} // namespace Velta
