#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/CowMemPtr.h"
#include "cpplib/Vector.h"
#include "geometry/AbstractGeometryData.h"
#include "geometry/VertexDataSet.h"

namespace Velta {

/// Per-vertex arrays, one block per array, built vertex by vertex.
///
/// Choose the arrays, their element types and the texture-coordinate layers
/// first; initialize() (or the first addVertex()) fixes that layout and
/// allocates. Changes to the choice after that take effect at the next
/// initialize(), so the arrays always match what the getters report.
/// Texture coordinates are stored vertex by vertex with the layers of one
/// vertex next to each other.
///
/// Arrays are copy-on-write: a copy shares them until either side writes.
/// New elements read as zero. The setters write the current vertex through
/// FLOAT arrays only; arrays of other types are allocated and stay zero.
/// Mark the data with setModified() after changing it.
class VELTA_EXPORT VertexData : public AbstractGeometryData, public virtual VertexDataSet {
public:
    VertexData();
    VertexData(const VertexData& other);
    VertexData& operator=(const VertexData&) = delete;
    ~VertexData() override;

    /// Which arrays exist; positions by default, nothing else.
    void setUseVertex(bool use) { setUse(VERTICES, use); }
    void setUseColor(bool use) { setUse(COLORS, use); }
    void setUseSecondaryColor(bool use) { setUse(SECONDARY_COLORS, use); }
    void setUseNormal(bool use) { setUse(NORMALS, use); }
    void setUseFogCoordinates(bool use) { setUse(FOG_COORDINATES, use); }
    void setUseTexCoordinates(bool use) { setUse(TEX_COORDINATES, use); }

    /// Element type of an array (FLOAT by default); NONE and unknown types
    /// are refused.
    bool setType(Part part, DataType::Type type);

    /// Appends a texture-coordinate layer for texture unit `textureIndex`.
    void addTextureIndex(unsigned int textureIndex);

    /// Fixes the layout, releases every array and allocates room for
    /// `capacity` vertices; the count becomes 0 and no vertex is current.
    /// When full, the arrays grow by `growStep` vertices, or double when it
    /// is 0. Negative arguments count as 0.
    void initialize(int capacity, int growStep);

    /// Adds a vertex (zeroed) and makes it current; returns its index. When
    /// the arrays cannot grow (out of memory) nothing is added, no vertex is
    /// current and the result is getCount().
    unsigned int addVertex();

    /// Makes vertex i current when i < getCount() and answers true;
    /// otherwise makes the last vertex current (none when empty) and answers
    /// false.
    bool setCurrentVertex(unsigned int i);

    /// −1 when no vertex is current.
    int getCurrentVertex() const { return mCurrent; }
    unsigned int getCapacity() const { return mCapacity; }
    unsigned int getGrowStep() const { return mGrowStep; }

    /// Write the current vertex; no effect without one, without the array or
    /// when the array's type is not FLOAT.
    void setVertex(float x, float y, float z);
    void setColor(float r, float g, float b, float a);
    void setColor(const Color& color);
    void setSecondaryColor(float r, float g, float b);
    /// Stores the vector scaled to length 1; a zero vector is stored as is.
    void setNormal(float x, float y, float z);
    void setFogCoordinate(float f);
    /// No effect unless layer < getNumTexLayer().
    void setTexCoordinate(float s, float t, unsigned int layer);

    unsigned int getCount() const override { return mCount; }
    const void* getVertices() const override { return getPart(VERTICES); }
    const void* getColor() const override { return getPart(COLORS); }
    const void* getSecondaryColor() const override { return getPart(SECONDARY_COLORS); }
    const void* getNormals() const override { return getPart(NORMALS); }
    const void* getFogCoordinates() const override { return getPart(FOG_COORDINATES); }
    const void* getTexCoordinates(unsigned int layer) const override;

    int getNumVertex() const override { return COMPONENTS[VERTICES]; }
    int getNumColor() const override { return COMPONENTS[COLORS]; }
    int getNumSecondaryColor() const override { return COMPONENTS[SECONDARY_COLORS]; }
    int getNumTexCoord(unsigned int) const override { return COMPONENTS[TEX_COORDINATES]; }
    int getNumTexLayer() const override { return static_cast<int>(mLayout.textureIndices.getSize()); }
    const CppLib::Vector<unsigned int>& getTexturesIndices() const override { return mLayout.textureIndices; }

    DataType::Type getVertexType() const override { return getPartType(VERTICES); }
    DataType::Type getColorType() const override { return getPartType(COLORS); }
    DataType::Type getSecondaryColorType() const override { return getPartType(SECONDARY_COLORS); }
    DataType::Type getNormalType() const override { return getPartType(NORMALS); }
    DataType::Type getFogCoordinateType() const override { return getPartType(FOG_COORDINATES); }
    DataType::Type getTexCoordinateType(unsigned int layer) const override;

    /// Separate arrays are packed, so 0, except for texture coordinates: one
    /// vertex's layers (layers × components × element size). Interleaved
    /// arrays answer the interleaved stride. 0 for an array not in use.
    unsigned int getStride(Part part) const override;

protected:
    /// With `interleaved`, all arrays share one block, vertex after vertex.
    explicit VertexData(bool interleaved);

    /// Bytes of one vertex in the interleaved block; 0 for separate arrays.
    unsigned int getVertexBytes() const { return mLayout.vertexBytes; }

private:
    /// Components per element of each array, in Part order.
    static constexpr int COMPONENTS[PART_COUNT] = {3, 4, 3, 3, 1, 2};

    struct Layout {
        bool use[PART_COUNT] = {true, false, false, false, false, false};
        DataType::Type types[PART_COUNT] = {DataType::FLOAT, DataType::FLOAT, DataType::FLOAT,
                                            DataType::FLOAT, DataType::FLOAT, DataType::FLOAT};
        CppLib::Vector<unsigned int> textureIndices;

        // Derived by arrange(): bytes of one vertex's element of each array
        // (texture coordinates: all layers), its place in an interleaved
        // vertex and the size of that vertex.
        unsigned int elementBytes[PART_COUNT] = {};
        unsigned int offsets[PART_COUNT] = {};
        unsigned int vertexBytes = 0;

        void arrange(bool interleaved);
        bool has(Part part) const { return use[part] && elementBytes[part] > 0; }
    };

    void setUse(Part part, bool use);
    void layoutChanged();
    void fixLayout();
    void releaseStorage();
    bool reserve(unsigned int capacity);
    bool reserveBlock(CppLib::CowMemPtr<void>& block, unsigned int elementBytes, unsigned int capacity);

    CppLib::CowMemPtr<void>& storage(Part part) { return mInterleaved ? mBlock : mArrays[part]; }
    const CppLib::CowMemPtr<void>& storage(Part part) const { return mInterleaved ? mBlock : mArrays[part]; }
    const void* getPart(Part part) const;
    DataType::Type getPartType(Part part) const;

    /// Writes `count` floats into the current vertex's element of `part`,
    /// `byteOffset` bytes into the element.
    void writeFloats(Part part, const float* values, int count, unsigned int byteOffset = 0);

    bool mInterleaved;
    bool mLayoutFixed = false;
    Layout mWanted;
    Layout mLayout;
    unsigned int mCount = 0;
    unsigned int mCapacity = 0;
    unsigned int mGrowStep = 0;
    int mCurrent = -1;
    CppLib::CowMemPtr<void> mArrays[PART_COUNT];
    CppLib::CowMemPtr<void> mBlock;
};

} // namespace Velta
