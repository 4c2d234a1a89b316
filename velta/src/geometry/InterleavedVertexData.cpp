#include "geometry/InterleavedVertexData.h"

namespace Velta {

InterleavedVertexData::InterleavedVertexData() : VertexData(true) {}

InterleavedVertexData::InterleavedVertexData(const InterleavedVertexData& other) = default;

InterleavedVertexData::~InterleavedVertexData() = default;

} // namespace Velta
