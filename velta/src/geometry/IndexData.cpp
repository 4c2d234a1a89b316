#include "geometry/IndexData.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace Velta {

IndexData::IndexData() : AbstractGeometryData(true) {}

IndexData::IndexData(const IndexData& other) = default;

IndexData::~IndexData() = default;

void IndexData::setIndexType(DataType::Type type)
{
    mWantedType = type;
    if (mStorage.isNull()) {
        mType = type;
    }
}

void IndexData::initialize(int capacity, int growStep)
{
    mStorage.setNull();
    mType = mWantedType;
    mCount = 0;
    mCapacity = 0;
    mGrowStep = static_cast<unsigned int>(std::max(growStep, 0));
    mMaxIndex = 0;
    mMaxIndexKnown = true;
    const unsigned int wanted = static_cast<unsigned int>(std::max(capacity, 0));
    if (reserve(wanted)) {
        mCapacity = wanted;
    }
}

bool IndexData::reserve(unsigned int capacity)
{
    const unsigned long long size = static_cast<unsigned long long>(capacity) * DataType::getSize(mType);
    if (size > UINT_MAX) {
        return false;
    }
    const unsigned int oldSize = mStorage.getByteSize();
    const unsigned int newSize = static_cast<unsigned int>(size);
    if (mStorage.isNull() ? !mStorage.alloc(newSize) : !mStorage.resize(newSize)) {
        return false;
    }
    if (newSize > oldSize) {
        std::memset(static_cast<char*>(mStorage.get()) + oldSize, 0, newSize - oldSize);
    }
    return true;
}

unsigned int IndexData::addIndex(unsigned int value)
{
    if (mStorage.isNull()) {
        return 0;
    }
    if (mCount >= mCapacity) {
        const unsigned int step = mGrowStep > 0 ? mGrowStep : std::max(mCapacity, 1u);
        const unsigned long long wanted = static_cast<unsigned long long>(mCapacity) + step;
        if (wanted > UINT_MAX || !reserve(static_cast<unsigned int>(wanted))) {
            return 0;
        }
        mCapacity = static_cast<unsigned int>(wanted);
    }
    ++mCount;
    // Lists of other types keep the zero the storage was filled with.
    setIndex(mCount - 1, value);
    return mCount - 1;
}

void IndexData::clear()
{
    mCount = 0;
    mMaxIndex = 0;
    mMaxIndexKnown = true;
}

bool IndexData::setIndex(unsigned int position, unsigned int value)
{
    if (position >= mCount || mType != DataType::UNSIGNED_INT) {
        return false;
    }
    const unsigned long long offset = static_cast<unsigned long long>(position) * sizeof(std::uint32_t);
    if (offset + sizeof(std::uint32_t) > mStorage.getByteSize()) {
        return false;
    }
    char* data = static_cast<char*>(mStorage.get());
    if (!data) {
        return false;
    }
    const std::uint32_t previous = getIndex(position);
    const std::uint32_t index = value;
    std::memcpy(data + offset, &index, sizeof index);
    if (value >= mMaxIndex) {
        // mMaxIndex bounds every other index even while it is stale.
        mMaxIndex = value;
        mMaxIndexKnown = true;
    } else if (previous == mMaxIndex) {
        mMaxIndexKnown = false;
    }
    return true;
}

unsigned int IndexData::getIndex(unsigned int position) const
{
    if (position >= mCount || mType != DataType::UNSIGNED_INT) {
        return 0;
    }
    const unsigned long long offset = static_cast<unsigned long long>(position) * sizeof(std::uint32_t);
    const char* data = static_cast<const char*>(mStorage.get());
    if (!data || offset + sizeof(std::uint32_t) > mStorage.getByteSize()) {
        return 0;
    }
    std::uint32_t index;
    std::memcpy(&index, data + offset, sizeof index);
    return index;
}

unsigned int IndexData::getMaxIndex() const
{
    if (mCount == 0) {
        return 0;
    }
    if (mType != DataType::UNSIGNED_BYTE && mType != DataType::UNSIGNED_SHORT && mType != DataType::UNSIGNED_INT) {
        return INVALID_INDEX;
    }
    if (!mMaxIndexKnown) {
        mMaxIndex = scanMaxIndex(mStorage.get(), mCount, mType);
        mMaxIndexKnown = true;
    }
    return mMaxIndex;
}

} // namespace Velta
