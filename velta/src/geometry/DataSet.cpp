#include "geometry/DataSet.h"

namespace Velta {

DataSet::~DataSet() = default;

} // namespace Velta
