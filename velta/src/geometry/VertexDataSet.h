#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"
#include "geometry/DataSet.h"
#include "geometry/DataType.h"

namespace Velta {

/// Read interface of per-vertex arrays: positions, colours, secondary
/// colours, normals, fog coordinates and texture-coordinate layers.
///
/// A pointer is null when the array does not exist; a type getter then
/// answers NONE. Element i of an array starts at its pointer plus i times the
/// array's stride, where a stride of 0 means "tightly packed" (as OpenGL
/// reads it).
class VELTA_EXPORT VertexDataSet : public virtual DataSet {
public:
    /// The arrays, as named to getStride() and to the renderer's uploads.
    enum Part : int {
        VERTICES = 0,
        COLORS = 1,
        SECONDARY_COLORS = 2,
        NORMALS = 3,
        FOG_COORDINATES = 4,
        TEX_COORDINATES = 5
    };
    static constexpr int PART_COUNT = 6;

    ~VertexDataSet() override;

    /// Vertices held.
    virtual unsigned int getCount() const = 0;

    virtual const void* getVertices() const = 0;
    virtual const void* getColor() const = 0;
    virtual const void* getSecondaryColor() const = 0;
    virtual const void* getNormals() const = 0;
    virtual const void* getFogCoordinates() const = 0;
    /// Coordinates of one layer; null past the last layer.
    virtual const void* getTexCoordinates(unsigned int layer) const = 0;

    /// Components per element (normals always have 3, fog coordinates 1).
    virtual int getNumVertex() const = 0;
    virtual int getNumColor() const = 0;
    virtual int getNumSecondaryColor() const = 0;
    virtual int getNumTexCoord(unsigned int layer) const = 0;
    virtual int getNumTexLayer() const = 0;

    /// The texture unit of each texture-coordinate layer, one entry per layer.
    virtual const CppLib::Vector<unsigned int>& getTexturesIndices() const = 0;

    virtual DataType::Type getVertexType() const { return DataType::NONE; }
    virtual DataType::Type getColorType() const { return DataType::NONE; }
    virtual DataType::Type getSecondaryColorType() const { return DataType::NONE; }
    virtual DataType::Type getNormalType() const { return DataType::NONE; }
    virtual DataType::Type getFogCoordinateType() const { return DataType::NONE; }
    virtual DataType::Type getTexCoordinateType(unsigned int) const { return DataType::NONE; }

    /// Bytes from one element of the array to the next; 0 when packed.
    virtual unsigned int getStride(Part) const { return 0; }

    /// The array of `part` (texture coordinates: of `layer`), its element
    /// type and its component count, for code that walks all parts alike.
    const void* getArray(Part part, unsigned int layer = 0) const;
    DataType::Type getType(Part part, unsigned int layer = 0) const;
    int getComponents(Part part, unsigned int layer = 0) const;
};

} // namespace Velta
