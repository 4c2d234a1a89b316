#include "geometry/VertexDataSet.h"

namespace Velta {

VertexDataSet::~VertexDataSet() = default;

const void* VertexDataSet::getArray(Part part, unsigned int layer) const
{
    switch (part) {
    case VERTICES: return getVertices();
    case COLORS: return getColor();
    case SECONDARY_COLORS: return getSecondaryColor();
    case NORMALS: return getNormals();
    case FOG_COORDINATES: return getFogCoordinates();
    case TEX_COORDINATES: return getTexCoordinates(layer);
    }
    return nullptr;
}

DataType::Type VertexDataSet::getType(Part part, unsigned int layer) const
{
    switch (part) {
    case VERTICES: return getVertexType();
    case COLORS: return getColorType();
    case SECONDARY_COLORS: return getSecondaryColorType();
    case NORMALS: return getNormalType();
    case FOG_COORDINATES: return getFogCoordinateType();
    case TEX_COORDINATES: return getTexCoordinateType(layer);
    }
    return DataType::NONE;
}

int VertexDataSet::getComponents(Part part, unsigned int layer) const
{
    switch (part) {
    case VERTICES: return getNumVertex();
    case COLORS: return getNumColor();
    case SECONDARY_COLORS: return getNumSecondaryColor();
    case NORMALS: return 3;
    case FOG_COORDINATES: return 1;
    case TEX_COORDINATES: return getNumTexCoord(layer);
    }
    return 0;
}

} // namespace Velta
