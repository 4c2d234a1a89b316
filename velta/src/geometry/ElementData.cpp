#include "geometry/ElementData.h"

namespace Velta {

ElementData::~ElementData() = default;

ElementData* ElementData::clone() const
{
    return new ElementData(*this);
}

} // namespace Velta
