#pragma once

#include "VeltaExport.h"
#include "geometry/VertexDataSet.h"

namespace Velta {

/// Vertex data whose arrays lie in one block, vertex after vertex: every
/// array's pointer points into that block and every array's stride is the
/// interleaved stride. The whole block is getInterleavedStride() × getCount()
/// bytes long; the array that comes first in it is the first one in use in
/// Part order.
class VELTA_EXPORT InterleavedVertexDataSet : public virtual VertexDataSet {
public:
    ~InterleavedVertexDataSet() override;

    /// Bytes of one vertex in the block.
    virtual unsigned int getInterleavedStride() const = 0;
};

} // namespace Velta
