#include "resource/TextureInfo.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace Velta {

namespace {

/// Divides rather than multiplies by the reciprocal, so that 128 of 255
/// reads as exactly 128 / 255.0f.
template <typename Component, typename Range>
void readAll(const void* pixel, unsigned int count, Range range, float (&out)[4])
{
    Component values[4];
    std::memcpy(values, pixel, count * sizeof(Component));
    for (unsigned int i = 0; i < count; ++i) {
        out[i] = static_cast<float>(values[i] / range);
    }
}

/// The first `count` (at most 4) components of `pixel` as floats; false for
/// a type that has no colour reading.
bool readComponents(const void* pixel, DataType::Type type, unsigned int count, float (&out)[4])
{
    switch (type) {
    case DataType::UNSIGNED_BYTE: readAll<std::uint8_t>(pixel, count, 255.0f, out); return true;
    case DataType::UNSIGNED_SHORT: readAll<std::uint16_t>(pixel, count, 65535.0f, out); return true;
    case DataType::UNSIGNED_INT: readAll<std::uint32_t>(pixel, count, 4294967295.0, out); return true;
    case DataType::FLOAT: readAll<float>(pixel, count, 1.0f, out); return true;
    case DataType::DOUBLE: readAll<double>(pixel, count, 1.0, out); return true;
    default: return false;
    }
}

/// a × b, or the largest value when that overflows: a size nothing can hold.
unsigned long long multiply(unsigned long long a, unsigned long long b)
{
    unsigned long long product;
    return __builtin_mul_overflow(a, b, &product) ? ~0ull : product;
}

unsigned long long add(unsigned long long a, unsigned long long b)
{
    unsigned long long sum;
    return __builtin_add_overflow(a, b, &sum) ? ~0ull : sum;
}

} // namespace

TextureInfo::TextureInfo(unsigned int width, unsigned int height, unsigned int depth, Color::Format format,
                         DataType::Type dataType)
    : mWidth(width), mHeight(height), mDepth(depth), mDataType(dataType)
{
    setColorFormat(format);
}

TextureInfo::~TextureInfo() = default;

void TextureInfo::setColorFormat(Color::Format format)
{
    mColorFormat = format;
    switch (format) {
    case Color::SINGLE_CHANNEL:
    case Color::LUMINANCE: mChannels = 1; break;
    case Color::RGB:
    case Color::BGR: mChannels = 3; break;
    case Color::RGBA:
    case Color::BGRA: mChannels = 4; break;
    default: break;
    }
}

void TextureInfo::setChannels(unsigned int channels)
{
    if (channels != mChannels) {
        mChannels = channels;
        mColorFormat = Color::UNKNOWN;
    }
}

unsigned int TextureInfo::getPixelSize() const
{
    return DataType::getSize(mDataType) * mChannels;
}

unsigned long long TextureInfo::getMemSize() const
{
    return multiply(multiply(multiply(getPixelSize(), mWidth), mHeight), mDepth);
}

unsigned long long TextureInfo::getMipMapMemSize(unsigned int highestLevel) const
{
    if (mWidth == 0 || mHeight == 0) {
        return 0;
    }
    const unsigned long long slice = multiply(getPixelSize(), mDepth);
    unsigned long long width = mWidth;
    unsigned long long height = mHeight;
    unsigned long long total = 0;
    for (unsigned int level = 0; level <= highestLevel; ++level) {
        total = add(total, multiply(multiply(slice, width), height));
        if (width == 1 && height == 1) {
            break;
        }
        width = std::max(width / 2, 1ull);
        height = std::max(height / 2, 1ull);
    }
    return total;
}

bool TextureInfo::getPixelOffset(unsigned int x, unsigned int y, unsigned int z, unsigned long long& offset) const
{
    if (x >= mWidth || y >= mHeight || z >= mDepth) {
        return false;
    }
    const unsigned long long pixel = add(add(x, multiply(y, mWidth)), multiply(multiply(z, mWidth), mHeight));
    offset = multiply(pixel, getPixelSize());
    return true;
}

Color TextureInfo::getPixelColor(const void* pixel) const
{
    const Color black(0.0f, 0.0f, 0.0f, 1.0f);
    const unsigned int channels = std::min(mChannels, 4u);
    float c[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    if (!pixel || channels == 0 || !readComponents(pixel, mDataType, channels, c)) {
        return black;
    }
    if (channels >= 3) {
        const bool swapped = mColorFormat == Color::BGR || mColorFormat == Color::BGRA;
        return Color(swapped ? c[2] : c[0], c[1], swapped ? c[0] : c[2], channels == 4 ? c[3] : 1.0f);
    }
    if (channels == 2) {
        return Color(c[0], c[0], c[0], c[1]);
    }
    if (mColorFormat == Color::LUMINANCE) {
        return Color(c[0], c[0], c[0], 1.0f);
    }
    return Color(1.0f, 1.0f, 1.0f, c[0]);
}

bool TextureInfo::operator==(const TextureInfo& other) const
{
    return mWidth == other.mWidth && mHeight == other.mHeight && mDepth == other.mDepth
        && mChannels == other.mChannels && mDataType == other.mDataType && mColorFormat == other.mColorFormat;
}

} // namespace Velta
