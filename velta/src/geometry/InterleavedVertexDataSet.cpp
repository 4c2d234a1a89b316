#include "geometry/InterleavedVertexDataSet.h"

namespace Velta {

InterleavedVertexDataSet::~InterleavedVertexDataSet() = default;

} // namespace Velta
