#include "resource/TextureProxy.h"

#include "core/TimerManager.h"
#include "core/VeltaCore.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace Velta {

using CppLib::SharedPtr;

namespace {

const unsigned int BYTES_PER_PIXEL = 4;

/// Larger images are a caller's mistake (a size read from bad data); they
/// are left empty instead of exhausting memory.
const unsigned long long MAX_BYTES = 1ull << 30;

float component(const Color& color, unsigned int channel)
{
    switch (channel) {
    case 0: return color.r;
    case 1: return color.g;
    case 2: return color.b;
    case 3: return color.a;
    default: return 0.0f;
    }
}

/// The last revision handed out, by any proxy.
unsigned long long gLastRevision = 0;

bool contains(const TextureProxy::Region& outer, const TextureProxy::Region& inner)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

/// `position` of an axis `from` long mapped onto an axis `to` long.
unsigned int scaled(unsigned int position, unsigned int from, unsigned int to)
{
    return static_cast<unsigned int>(static_cast<unsigned long long>(position) * to / from);
}

} // namespace

TextureProxy::TextureProxy(unsigned int width, unsigned int height, const Color& color)
{
    createData(width, height, color);
}

TextureProxy::TextureProxy(const SharedPtr<TextureSource>& colorSource, const SharedPtr<TextureSource>& alphaSource,
                           float scale, float offset, unsigned int channel)
{
    updateData(colorSource, alphaSource, scale, offset, channel);
}

TextureProxy::~TextureProxy() = default;

const void* TextureProxy::getPixel(unsigned int x, unsigned int y, unsigned int z) const
{
    unsigned long long offset = 0;
    if (mData.empty() || !mInfo.getPixelOffset(x, y, z, offset)) {
        return nullptr;
    }
    return mData.data() + offset;
}

unsigned char TextureProxy::getPixelValue(float value, float scale, float offset) const
{
    const float x = (value * scale + offset) * 255.0f;
    if (!(x > 0.0f)) {
        return 0;
    }
    if (x > 255.0f) {
        return 255;
    }
    return static_cast<unsigned char>(x);
}

bool TextureProxy::allocate(unsigned int width, unsigned int height, unsigned int depth)
{
    startRevisions();
    mInfo = TextureInfo(width, height, depth, Color::RGBA, DataType::UNSIGNED_BYTE);
    mData.clear();
    mData.shrink_to_fit();
    if (mInfo.getMemSize() <= MAX_BYTES) {
        try {
            mData.resize(mInfo.getMemSize());
        } catch (const std::bad_alloc&) {
        }
    }
    if (mData.size() != mInfo.getMemSize()) {
        mInfo = TextureInfo(0, 0, 0, Color::RGBA, DataType::UNSIGNED_BYTE);
        mData.clear();
        return false;
    }
    return true;
}

void TextureProxy::createData(unsigned int width, unsigned int height, const Color& color)
{
    if (!allocate(width, height, 1)) {
        return;
    }
    const unsigned char pixel[BYTES_PER_PIXEL] = {getPixelValue(color.r, 1.0f, 0.0f),
                                                  getPixelValue(color.g, 1.0f, 0.0f),
                                                  getPixelValue(color.b, 1.0f, 0.0f),
                                                  getPixelValue(color.a, 1.0f, 0.0f)};
    for (size_t at = 0; at < mData.size(); at += BYTES_PER_PIXEL) {
        std::memcpy(&mData[at], pixel, BYTES_PER_PIXEL);
    }
}

void TextureProxy::updateData(const SharedPtr<TextureSource>& colorSource, const SharedPtr<TextureSource>& alphaSource,
                              float scale, float offset, unsigned int channel)
{
    if (colorSource.isNull()) {
        allocate(0, 0, 0);
        return;
    }
    const TextureInfo& colorInfo = colorSource->getTextureInfo();
    if (!allocate(colorInfo.getWidth(), colorInfo.getHeight(), colorInfo.getDepth())) {
        return;
    }
    // A one-channel image that is not luminance reads as white with its
    // value as alpha; as a colour it means grey.
    const bool valueAsGrey = colorInfo.getChannels() == 1 && colorInfo.getColorFormat() != Color::LUMINANCE;
    const TextureInfo* alphaInfo = alphaSource.isNull() ? nullptr : &alphaSource->getTextureInfo();

    unsigned char* out = mData.data();
    for (unsigned int z = 0; z < mInfo.getDepth(); ++z) {
        for (unsigned int y = 0; y < mInfo.getHeight(); ++y) {
            for (unsigned int x = 0; x < mInfo.getWidth(); ++x, out += BYTES_PER_PIXEL) {
                const void* pixel = colorSource->getPixel(x, y, z);
                Color c = colorInfo.getPixelColor(pixel);
                if (valueAsGrey && pixel) {
                    c = Color(c.a, c.a, c.a, 1.0f);
                }
                if (alphaInfo) {
                    const unsigned int ax = scaled(x, mInfo.getWidth(), alphaInfo->getWidth());
                    const unsigned int ay = scaled(y, mInfo.getHeight(), alphaInfo->getHeight());
                    const unsigned int az = scaled(z, mInfo.getDepth(), alphaInfo->getDepth());
                    c.a = component(alphaInfo->getPixelColor(alphaSource->getPixel(ax, ay, az)), channel);
                }
                out[0] = getPixelValue(c.r, scale, offset);
                out[1] = getPixelValue(c.g, scale, offset);
                out[2] = getPixelValue(c.b, scale, offset);
                out[3] = getPixelValue(c.a, 1.0f, 0.0f);
            }
        }
    }
}

bool TextureProxy::copyRect(const SharedPtr<TextureSource>& source, unsigned int dstX, unsigned int dstY,
                            unsigned int, unsigned int srcX, unsigned int srcY, unsigned int, unsigned int width,
                            unsigned int height, unsigned int)
{
    if (source.isNull()) {
        return false;
    }
    VeltaCore& core = VeltaCore::getSingleton();
    mChangeTime = core.isStarted() ? core.getTimerManager().getTimestamp() : 0;

    const TextureInfo& from = source->getTextureInfo();
    if (from.getColorFormat() != mInfo.getColorFormat() || from.getDataType() != mInfo.getDataType()) {
        return true;
    }
    const unsigned char* sourceData = static_cast<const unsigned char*>(source->getTextureData());
    if (!sourceData || mData.empty() || srcX >= from.getWidth() || srcY >= from.getHeight()
        || dstX >= mInfo.getWidth() || dstY >= mInfo.getHeight()) {
        return true;
    }
    const unsigned int columns = std::min({width, from.getWidth() - srcX, mInfo.getWidth() - dstX});
    const unsigned int rows = std::min({height, from.getHeight() - srcY, mInfo.getHeight() - dstY});
    const size_t rowBytes = static_cast<size_t>(columns) * BYTES_PER_PIXEL;
    const size_t sourceStride = static_cast<size_t>(from.getWidth()) * BYTES_PER_PIXEL;
    const size_t stride = static_cast<size_t>(mInfo.getWidth()) * BYTES_PER_PIXEL;
    const unsigned char* in = sourceData + srcY * sourceStride + static_cast<size_t>(srcX) * BYTES_PER_PIXEL;
    unsigned char* out = mData.data() + dstY * stride + static_cast<size_t>(dstX) * BYTES_PER_PIXEL;

    if (in == out || rows == 0 || columns == 0) {
        return true;
    }
    // A copy within this image moving downwards goes bottom row first, so
    // that no row is overwritten before it is read.
    if (sourceData == mData.data() && out > in) {
        for (unsigned int r = rows; r-- > 0;) {
            std::memmove(out + r * stride, in + r * sourceStride, rowBytes);
        }
    } else {
        for (unsigned int r = 0; r < rows; ++r) {
            std::memmove(out + r * stride, in + r * sourceStride, rowBytes);
        }
    }
    addChangedRegion(dstX, dstY, columns, rows);
    return true;
}

void TextureProxy::startRevisions()
{
    mRevision = ++gLastRevision;
    mRegionsSince = mRevision;
    mRegionCount = 0;
}

void TextureProxy::addChangedRegion(unsigned int x, unsigned int y, unsigned int width, unsigned int height)
{
    mRevision = ++gLastRevision;
    const Region added{x, y, width, height};
    for (unsigned int i = 0; i < mRegionCount; ++i) {
        if (contains(mRegions[i], added)) {
            return; // the same glyph written again, say
        }
    }
    unsigned int kept = 0;
    for (unsigned int i = 0; i < mRegionCount; ++i) {
        if (!contains(added, mRegions[i])) {
            mRegions[kept++] = mRegions[i];
        }
    }
    mRegionCount = kept;
    if (mRegionCount < MAX_REGIONS) {
        mRegions[mRegionCount++] = added;
        return;
    }
    unsigned int left = added.x;
    unsigned int top = added.y;
    unsigned int right = added.x + added.width;
    unsigned int bottom = added.y + added.height;
    for (unsigned int i = 0; i < mRegionCount; ++i) {
        left = std::min(left, mRegions[i].x);
        top = std::min(top, mRegions[i].y);
        right = std::max(right, mRegions[i].x + mRegions[i].width);
        bottom = std::max(bottom, mRegions[i].y + mRegions[i].height);
    }
    mRegions[0] = Region{left, top, right - left, bottom - top};
    mRegionCount = 1;
}

bool TextureProxy::getChangedRegions(unsigned long long since, const Region*& regions, unsigned int& count) const
{
    if (since < mRegionsSince || since > mRevision) {
        regions = nullptr;
        count = 0;
        return false;
    }
    regions = mRegions;
    count = since == mRevision ? 0 : mRegionCount;
    return true;
}

void TextureProxy::forgetChangedRegions()
{
    mRegionsSince = mRevision;
    mRegionCount = 0;
}

} // namespace Velta
