#include "geometry/IndexElementData.h"

#include <algorithm>
#include <climits>

namespace Velta {

IndexElementData::IndexElementData(ElementType type, unsigned int capacity, unsigned int growStep)
    : GeometryElement(), ElementData(type)
{
    const auto toInt = [](unsigned int value) { return static_cast<int>(std::min(value, static_cast<unsigned int>(INT_MAX))); };
    mIndexData.initialize(toInt(capacity), toInt(growStep));
}

IndexElementData::~IndexElementData() = default;

} // namespace Velta
