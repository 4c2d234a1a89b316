#include "geometry/VertexWelder.h"

#include "geometry/GeometryData.h"
#include "geometry/GeometryGroup.h"
#include "geometry/IndexElementData.h"
#include "geometry/VertexData.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace Velta {

namespace {

/// Where one kind of value of every vertex lies.
struct Column {
    const unsigned char* first;
    unsigned int stride;
    unsigned int bytes;
};

/// Adds the column of `part` (layer `layer` for texture coordinates) to
/// `columns`; false when it is in use but not floats.
bool addColumn(const VertexData& data, VertexDataSet::Part part, const void* first, DataType::Type type,
               int components, std::vector<Column>& columns)
{
    if (!first || type == DataType::NONE) {
        return true;
    }
    if (type != DataType::FLOAT) {
        return false;
    }
    const unsigned int bytes = static_cast<unsigned int>(components) * sizeof(float);
    const unsigned int stride = data.getStride(part);
    columns.push_back({static_cast<const unsigned char*>(first), stride != 0 ? stride : bytes, bytes});
    return true;
}

bool readColumns(const VertexData& data, std::vector<Column>& columns)
{
    bool floats = data.getVertices() != nullptr;
    floats = floats && addColumn(data, VertexDataSet::VERTICES, data.getVertices(), data.getVertexType(),
                                 data.getNumVertex(), columns);
    floats = floats && addColumn(data, VertexDataSet::COLORS, data.getColor(), data.getColorType(),
                                 data.getNumColor(), columns);
    floats = floats && addColumn(data, VertexDataSet::SECONDARY_COLORS, data.getSecondaryColor(),
                                 data.getSecondaryColorType(), data.getNumSecondaryColor(), columns);
    floats = floats && addColumn(data, VertexDataSet::NORMALS, data.getNormals(), data.getNormalType(), 3, columns);
    floats = floats && addColumn(data, VertexDataSet::FOG_COORDINATES, data.getFogCoordinates(),
                                 data.getFogCoordinateType(), 1, columns);
    for (int layer = 0; floats && layer < data.getNumTexLayer(); ++layer) {
        const auto index = static_cast<unsigned int>(layer);
        floats = addColumn(data, VertexDataSet::TEX_COORDINATES, data.getTexCoordinates(index),
                           data.getTexCoordinateType(index), data.getNumTexCoord(index), columns);
    }
    return floats;
}

/// The index lists of every element, or none when one is not a list of
/// unsigned ints into the vertex data.
std::vector<IndexData*> readIndexLists(GeometryData& geometry, unsigned int vertexCount)
{
    std::vector<IndexData*> lists;
    for (GeometryGroup* group : geometry.getElementGroups()) {
        if (!group) {
            continue;
        }
        for (GeometryElement* element : group->getElementList(0)) {
            auto* indexed = dynamic_cast<IndexElementData*>(element);
            if (!indexed || indexed->getIndexList().getIndexType() != DataType::UNSIGNED_INT ||
                !indexed->getIndexList().fitsVertexCount(vertexCount)) {
                return {};
            }
            lists.push_back(&indexed->getIndexList());
        }
    }
    return lists;
}

const float* at(const Column& column, unsigned int vertex)
{
    return reinterpret_cast<const float*>(column.first + static_cast<std::size_t>(vertex) * column.stride);
}

/// A vertex data set like `source` (the same parts and texture units) with
/// its vertices `kept`, in that order.
CppLib::SharedPtr<VertexData> copyVertices(const VertexData& source, const std::vector<unsigned int>& kept)
{
    CppLib::SharedPtr<VertexData> data(new VertexData());
    data->setUseColor(source.getColor() != nullptr);
    data->setUseSecondaryColor(source.getSecondaryColor() != nullptr);
    data->setUseNormal(source.getNormals() != nullptr);
    data->setUseFogCoordinates(source.getFogCoordinates() != nullptr);
    data->setUseTexCoordinates(source.getNumTexLayer() > 0);
    for (unsigned int unit : source.getTexturesIndices()) {
        data->addTextureIndex(unit);
    }
    data->initialize(static_cast<int>(kept.size()), static_cast<int>(source.getGrowStep()));
    for (unsigned int vertex : kept) {
        data->addVertex();
        const auto* p = static_cast<const float*>(source.getVertices()) + vertex * 3u;
        data->setVertex(p[0], p[1], p[2]);
        if (const auto* c = static_cast<const float*>(source.getColor())) {
            c += vertex * 4u;
            data->setColor(c[0], c[1], c[2], c[3]);
        }
        if (const auto* c = static_cast<const float*>(source.getSecondaryColor())) {
            c += vertex * 3u;
            data->setSecondaryColor(c[0], c[1], c[2]);
        }
        if (const auto* n = static_cast<const float*>(source.getNormals())) {
            n += vertex * 3u;
            data->setNormal(n[0], n[1], n[2]);
        }
        if (const auto* f = static_cast<const float*>(source.getFogCoordinates())) {
            data->setFogCoordinate(f[vertex]);
        }
        const unsigned int stride = source.getStride(VertexDataSet::TEX_COORDINATES) / sizeof(float);
        for (int layer = 0; layer < source.getNumTexLayer(); ++layer) {
            const auto index = static_cast<unsigned int>(layer);
            const auto* t = static_cast<const float*>(source.getTexCoordinates(index)) + vertex * stride;
            data->setTexCoordinate(t[0], t[1], index);
        }
    }
    data->setModified();
    return data;
}

} // namespace

unsigned int VertexWelder::weld(GeometryData& geometry)
{
    const CppLib::SharedPtr<VertexData> source = geometry.getIndexedData(0);
    if (source.isNull()) {
        return 0;
    }
    const unsigned int count = source->getCount();
    std::vector<Column> columns;
    const std::vector<IndexData*> lists = readIndexLists(geometry, count);
    // Only separate, packed arrays are copied below; an interleaved set is
    // left alone.
    if (!readColumns(*source, columns) || lists.empty() || source->getStride(VertexDataSet::VERTICES) != 0) {
        return count;
    }

    std::unordered_map<std::string, unsigned int> seen;
    seen.reserve(count);
    std::vector<unsigned int> kept;
    std::vector<unsigned int> keptAs(count);
    std::string key;
    for (unsigned int vertex = 0; vertex < count; ++vertex) {
        key.clear();
        for (const Column& column : columns) {
            key.append(reinterpret_cast<const char*>(at(column, vertex)), column.bytes);
        }
        const auto found = seen.emplace(key, static_cast<unsigned int>(kept.size()));
        if (found.second) {
            kept.push_back(vertex);
        }
        keptAs[vertex] = found.first->second;
    }
    if (kept.size() == count) {
        return count;
    }
    for (IndexData* list : lists) {
        for (unsigned int i = 0; i < list->getCount(); ++i) {
            list->setIndex(i, keptAs[list->getIndex(i)]);
        }
        list->setModified();
    }
    geometry.setIndexedVertexData(copyVertices(*source, kept));
    return static_cast<unsigned int>(kept.size());
}

} // namespace Velta
