#include "geometry/VertexData.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace Velta {

namespace {

/// `count` × `bytes` when it fits a block size; false otherwise.
bool blockSize(unsigned int count, unsigned int bytes, unsigned int& size)
{
    const unsigned long long total = static_cast<unsigned long long>(count) * bytes;
    if (total > UINT_MAX) {
        return false;
    }
    size = static_cast<unsigned int>(total);
    return true;
}

} // namespace

void VertexData::Layout::arrange(bool interleaved)
{
    vertexBytes = 0;
    for (int part = 0; part < PART_COUNT; ++part) {
        unsigned int bytes = DataType::getSize(types[part]) * static_cast<unsigned int>(COMPONENTS[part]);
        if (part == TEX_COORDINATES) {
            bytes *= textureIndices.getSize();
        }
        elementBytes[part] = use[part] ? bytes : 0;
        offsets[part] = interleaved ? vertexBytes : 0;
        if (interleaved) {
            vertexBytes += elementBytes[part];
        }
    }
}

VertexData::VertexData() : VertexData(false) {}

VertexData::VertexData(bool interleaved) : AbstractGeometryData(true), mInterleaved(interleaved)
{
    layoutChanged();
}

VertexData::VertexData(const VertexData& other) = default;

VertexData::~VertexData() = default;

void VertexData::setUse(Part part, bool use)
{
    mWanted.use[part] = use;
    layoutChanged();
}

bool VertexData::setType(Part part, DataType::Type type)
{
    if (part < VERTICES || part > TEX_COORDINATES || DataType::getSize(type) == 0) {
        return false;
    }
    mWanted.types[part] = type;
    layoutChanged();
    return true;
}

void VertexData::addTextureIndex(unsigned int textureIndex)
{
    mWanted.textureIndices.append(textureIndex);
    layoutChanged();
}

void VertexData::layoutChanged()
{
    // Until arrays exist, the layout the getters report is the one asked for.
    if (!mLayoutFixed) {
        mLayout = mWanted;
        mLayout.arrange(mInterleaved);
    }
}

void VertexData::fixLayout()
{
    mLayout = mWanted;
    mLayout.arrange(mInterleaved);
    mLayoutFixed = true;
}

void VertexData::initialize(int capacity, int growStep)
{
    fixLayout();
    releaseStorage();
    mCount = 0;
    mCurrent = -1;
    mCapacity = 0;
    mGrowStep = static_cast<unsigned int>(std::max(growStep, 0));
    if (reserve(static_cast<unsigned int>(std::max(capacity, 0)))) {
        mCapacity = static_cast<unsigned int>(std::max(capacity, 0));
    } else {
        releaseStorage();
    }
}

void VertexData::releaseStorage()
{
    for (CppLib::CowMemPtr<void>& array : mArrays) {
        array.setNull();
    }
    mBlock.setNull();
}

bool VertexData::reserve(unsigned int capacity)
{
    if (mInterleaved) {
        return mLayout.vertexBytes == 0 || reserveBlock(mBlock, mLayout.vertexBytes, capacity);
    }
    bool reserved = true;
    for (int part = 0; part < PART_COUNT; ++part) {
        if (mLayout.has(static_cast<Part>(part))) {
            reserved = reserveBlock(mArrays[part], mLayout.elementBytes[part], capacity) && reserved;
        }
    }
    return reserved;
}

bool VertexData::reserveBlock(CppLib::CowMemPtr<void>& block, unsigned int elementBytes, unsigned int capacity)
{
    unsigned int size = 0;
    if (!blockSize(capacity, elementBytes, size)) {
        return false;
    }
    const unsigned int oldSize = block.getByteSize();
    if (block.isNull() ? !block.alloc(size) : !block.resize(size)) {
        return false;
    }
    if (size > oldSize) {
        // Fresh elements read as zero rather than as whatever the heap held.
        std::memset(static_cast<char*>(block.get()) + oldSize, 0, size - oldSize);
    }
    return true;
}

unsigned int VertexData::addVertex()
{
    if (!mLayoutFixed) {
        fixLayout();
    }
    if (mCount >= mCapacity) {
        const unsigned int step = mGrowStep > 0 ? mGrowStep : std::max(mCapacity, 1u);
        const unsigned long long wanted = static_cast<unsigned long long>(mCapacity) + step;
        if (wanted > INT_MAX || !reserve(static_cast<unsigned int>(wanted))) {
            mCurrent = -1;
            return mCount;
        }
        mCapacity = static_cast<unsigned int>(wanted);
    }
    ++mCount;
    mCurrent = static_cast<int>(mCount - 1);
    return mCount - 1;
}

bool VertexData::setCurrentVertex(unsigned int i)
{
    if (i < mCount) {
        mCurrent = static_cast<int>(i);
        return true;
    }
    mCurrent = static_cast<int>(mCount) - 1;
    return false;
}

void VertexData::writeFloats(Part part, const float* values, int count, unsigned int byteOffset)
{
    if (mCurrent < 0 || !mLayout.has(part) || mLayout.types[part] != DataType::FLOAT) {
        return;
    }
    const unsigned int bytes = static_cast<unsigned int>(count) * sizeof(float);
    const unsigned long long vertex = static_cast<unsigned long long>(mCurrent);
    const unsigned long long begin = (mInterleaved ? vertex * mLayout.vertexBytes + mLayout.offsets[part]
                                                   : vertex * mLayout.elementBytes[part])
        + byteOffset;
    CppLib::CowMemPtr<void>& block = storage(part);
    if (block.isNull() || byteOffset + bytes > mLayout.elementBytes[part] || begin + bytes > block.getByteSize()) {
        return;
    }
    // The non-const get() gives this object its own copy of a shared block.
    char* data = static_cast<char*>(block.get());
    if (data) {
        std::memcpy(data + begin, values, bytes);
    }
}

void VertexData::setVertex(float x, float y, float z)
{
    const float values[] = {x, y, z};
    writeFloats(VERTICES, values, 3);
}

void VertexData::setColor(float r, float g, float b, float a)
{
    const float values[] = {r, g, b, a};
    writeFloats(COLORS, values, 4);
}

void VertexData::setColor(const Color& color)
{
    setColor(color.r, color.g, color.b, color.a);
}

void VertexData::setSecondaryColor(float r, float g, float b)
{
    const float values[] = {r, g, b};
    writeFloats(SECONDARY_COLORS, values, 3);
}

void VertexData::setNormal(float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length > 0.0f) {
        x /= length;
        y /= length;
        z /= length;
    }
    const float values[] = {x, y, z};
    writeFloats(NORMALS, values, 3);
}

void VertexData::setFogCoordinate(float f)
{
    writeFloats(FOG_COORDINATES, &f, 1);
}

void VertexData::setTexCoordinate(float s, float t, unsigned int layer)
{
    if (layer >= mLayout.textureIndices.getSize()) {
        return;
    }
    const float values[] = {s, t};
    writeFloats(TEX_COORDINATES, values, 2, layer * 2 * sizeof(float));
}

const void* VertexData::getPart(Part part) const
{
    if (!mLayout.has(part)) {
        return nullptr;
    }
    const char* data = static_cast<const char*>(storage(part).get());
    return data ? data + mLayout.offsets[part] : nullptr;
}

DataType::Type VertexData::getPartType(Part part) const
{
    return getPart(part) ? mLayout.types[part] : DataType::NONE;
}

const void* VertexData::getTexCoordinates(unsigned int layer) const
{
    const char* data = static_cast<const char*>(getPart(TEX_COORDINATES));
    if (!data || layer >= mLayout.textureIndices.getSize()) {
        return nullptr;
    }
    return data + layer * DataType::getSize(mLayout.types[TEX_COORDINATES]) * COMPONENTS[TEX_COORDINATES];
}

DataType::Type VertexData::getTexCoordinateType(unsigned int layer) const
{
    return getTexCoordinates(layer) ? mLayout.types[TEX_COORDINATES] : DataType::NONE;
}

unsigned int VertexData::getStride(Part part) const
{
    if (part < VERTICES || part > TEX_COORDINATES || !mLayout.has(part)) {
        return 0;
    }
    if (mInterleaved) {
        return mLayout.vertexBytes;
    }
    return part == TEX_COORDINATES ? mLayout.elementBytes[TEX_COORDINATES] : 0;
}

} // namespace Velta
