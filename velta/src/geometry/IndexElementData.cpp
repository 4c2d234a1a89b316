#include "geometry/IndexElementData.h"

#include <algorithm>
#include <climits>

namespace Velta {

IndexElementData::IndexElementData(ElementType type, unsigned int capacity, unsigned int growStep)
    : ElementData(type)
{
    const unsigned int largest = INT_MAX;
    mIndexData.initialize(static_cast<int>(std::min(capacity, largest)), static_cast<int>(std::min(growStep, largest)));
}

IndexElementData::~IndexElementData() = default;

IndexElementData* IndexElementData::clone() const
{
    return new IndexElementData(*this);
}

} // namespace Velta
