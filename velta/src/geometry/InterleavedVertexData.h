#pragma once

#include "VeltaExport.h"
#include "geometry/InterleavedVertexDataSet.h"
#include "geometry/VertexData.h"

namespace Velta {

/// VertexData with all arrays in one copy-on-write block, vertex after
/// vertex, in Part order. Built and read exactly like VertexData; only the
/// pointers and strides differ, so a renderer can upload one buffer.
class VELTA_EXPORT InterleavedVertexData : public VertexData, public virtual InterleavedVertexDataSet {
public:
    InterleavedVertexData();
    InterleavedVertexData(const InterleavedVertexData& other);
    ~InterleavedVertexData() override;

    unsigned int getInterleavedStride() const override { return getVertexBytes(); }
};

} // namespace Velta
