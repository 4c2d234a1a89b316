#include "geometry/IndexDataSet.h"

#include <cstdint>
#include <cstring>

namespace Velta {

namespace {

template <typename Index>
unsigned int maxOf(const void* list, unsigned int count)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(list);
    unsigned int largest = 0;
    for (unsigned int i = 0; i < count; ++i) {
        Index index;
        std::memcpy(&index, bytes + i * sizeof(Index), sizeof(Index));
        if (index > largest) {
            largest = index;
        }
    }
    return largest;
}

} // namespace

IndexDataSet::~IndexDataSet() = default;

unsigned int IndexDataSet::getMaxIndex() const
{
    return scanMaxIndex(getIndexList(), getCount(), getIndexType());
}

bool IndexDataSet::fitsVertexCount(unsigned int vertexCount) const
{
    if (getCount() == 0) {
        return true;
    }
    const unsigned int largest = getMaxIndex();
    return largest != INVALID_INDEX && largest < vertexCount;
}

unsigned int IndexDataSet::scanMaxIndex(const void* list, unsigned int count, DataType::Type type)
{
    if (count == 0) {
        return 0;
    }
    if (!list) {
        return INVALID_INDEX;
    }
    switch (type) {
    case DataType::UNSIGNED_BYTE: return maxOf<std::uint8_t>(list, count);
    case DataType::UNSIGNED_SHORT: return maxOf<std::uint16_t>(list, count);
    case DataType::UNSIGNED_INT: return maxOf<std::uint32_t>(list, count);
    default: return INVALID_INDEX;
    }
}

} // namespace Velta
