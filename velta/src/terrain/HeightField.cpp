#include "terrain/HeightField.h"

#include "resource/TextureSource.h"

#include <cmath>

namespace Velta {

namespace {

/// Splits `position` (0 … last) into the index at or before it and the
/// fraction beyond it; the last index always has fraction 0.
void split(float position, unsigned int last, unsigned int& index, float& fraction)
{
    index = static_cast<unsigned int>(position);
    if (index >= last) {
        index = last;
        fraction = 0.0f;
    } else {
        fraction = position - static_cast<float>(index);
    }
}

/// `v` scaled to length 1; a zero vector stays zero.
CppLib::TVector<float, 3> normalized(const CppLib::TVector<float, 3>& v)
{
    const float length = v.length();
    return length > 0.0f ? v * (1.0f / length) : v;
}

} // namespace

HeightField::Status HeightField::assign(const TextureSource* image, unsigned int channel, unsigned int slice)
{
    mBase = nullptr;
    mWidth = 0;
    mHeight = 0;
    mPixelBytes = 0;
    mChannel = channel;
    mSlice = slice;
    mDataType = DataType::NONE;
    if (!image) {
        return mStatus = NO_IMAGE;
    }
    const TextureInfo& info = image->getTextureInfo();
    mDataType = info.getDataType();
    if (info.getWidth() == 0 || info.getHeight() == 0 || info.getDepth() == 0 || info.getChannels() == 0) {
        return mStatus = EMPTY;
    }
    if (info.getDataType() != DataType::UNSIGNED_BYTE) {
        return mStatus = WRONG_TYPE;
    }
    if (channel >= info.getChannels()) {
        return mStatus = NO_CHANNEL;
    }
    if (slice >= info.getDepth()) {
        return mStatus = NO_SLICE;
    }
    // getTextureData() answers a whole block of getMemSize() bytes or null,
    // so every pixel of the slice can be read through it.
    const unsigned char* data = static_cast<const unsigned char*>(image->getTextureData());
    unsigned long long sliceStart = 0;
    if (!data || !info.getPixelOffset(0, 0, slice, sliceStart)) {
        return mStatus = NO_PIXELS;
    }
    mBase = data + sliceStart + channel;
    mWidth = info.getWidth();
    mHeight = info.getHeight();
    mPixelBytes = info.getPixelSize();
    return mStatus = OK;
}

std::string HeightField::describeStatus() const
{
    switch (mStatus) {
    case OK: return std::string();
    case NO_IMAGE: return "No height map";
    case EMPTY: return "Height map without pixels";
    case WRONG_TYPE: return std::string("Unsupported format: ") + DataType::getName(mDataType);
    case NO_CHANNEL: return "Height map has no channel " + std::to_string(mChannel);
    case NO_SLICE: return "Height map has no slice " + std::to_string(mSlice);
    case NO_PIXELS: return "Height map without readable pixel data";
    }
    return std::string();
}

HeightField::Cell HeightField::locate(float u, float v) const
{
    Cell cell;
    if (!mBase) {
        return cell;
    }
    split(clampUnit(u) * static_cast<float>(mWidth - 1), mWidth - 1, cell.x, cell.fx);
    split(clampUnit(v) * static_cast<float>(mHeight - 1), mHeight - 1, cell.y, cell.fy);
    return cell;
}

float HeightField::interpolate(float u, float v) const
{
    if (!mBase) {
        return 0.0f;
    }
    const Cell c = locate(u, v);
    const float h00 = getValue(c.x, c.y);
    const float h11 = getValue(c.x + 1, c.y + 1);
    if (c.fx > c.fy) {
        const float h10 = getValue(c.x + 1, c.y);
        return h00 + (h10 - h00) * c.fx + (h11 - h10) * c.fy;
    }
    const float h01 = getValue(c.x, c.y + 1);
    return h00 + (h01 - h00) * c.fy + (h11 - h01) * c.fx;
}

CppLib::TVector<float, 3> HeightField::getPixelNormal(unsigned int x, unsigned int y) const
{
    if (!mBase || x >= mWidth || y >= mHeight) {
        return {0.0f, 1.0f, 0.0f};
    }
    // Differences to the eight neighbours; those outside the image count 0.
    const float h00 = getValue(x, y);
    float d[3][3] = {};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const long long nx = static_cast<long long>(x) + dx;
            const long long ny = static_cast<long long>(y) + dy;
            if (nx >= 0 && ny >= 0 && nx < mWidth && ny < mHeight) {
                d[dy + 1][dx + 1] = getValue(static_cast<unsigned int>(nx), static_cast<unsigned int>(ny)) - h00;
            }
        }
    }
    float gx = (d[0][0] + d[1][0] + d[2][0]) - (d[0][2] + d[1][2] + d[2][2]);
    float gy = (d[0][0] + d[0][1] + d[0][2]) - (d[2][0] + d[2][1] + d[2][2]);
    gx *= (x == 0 || x >= mWidth - 1) ? 1.0f / 3.0f : 1.0f / 6.0f;
    gy *= (y == 0 || y >= mHeight - 1) ? 1.0f / 3.0f : 1.0f / 6.0f;
    return {gx, 1.0f, gy};
}

CppLib::TVector<float, 3> HeightField::getNormal(float u, float v) const
{
    if (!mBase) {
        return {0.0f, 1.0f, 0.0f};
    }
    const Cell c = locate(u, v);
    if (c.fx == 0.0f && c.fy == 0.0f) {
        return normalized(getPixelNormal(c.x, c.y));
    }
    CppLib::TVector<float, 3> m00;
    CppLib::TVector<float, 3> m10;
    CppLib::TVector<float, 3> m01;
    CppLib::TVector<float, 3> m11;
    if (c.x >= 1 && c.y >= 1 && c.x + 2 < mWidth && c.y + 2 < mHeight) {
        getInnerNormals(c.x, c.y, m00, m10, m01, m11);
    } else {
        const unsigned int x1 = c.x + 1 < mWidth ? c.x + 1 : c.x;
        const unsigned int y1 = c.y + 1 < mHeight ? c.y + 1 : c.y;
        m00 = getPixelNormal(c.x, c.y);
        m10 = getPixelNormal(x1, c.y);
        m01 = getPixelNormal(c.x, y1);
        m11 = getPixelNormal(x1, y1);
    }
    if (c.fx > c.fy) {
        return normalized(m00 + (m10 - m00) * c.fx + (m11 - m10) * c.fy);
    }
    return normalized(m00 + (m01 - m00) * c.fy + (m11 - m01) * c.fx);
}

void HeightField::getInnerNormals(unsigned int x, unsigned int y, CppLib::TVector<float, 3>& m00,
                                  CppLib::TVector<float, 3>& m10, CppLib::TVector<float, 3>& m01,
                                  CppLib::TVector<float, 3>& m11) const
{
    // The 4 × 4 block around the square; for a pixel with all eight
    // neighbours its own height cancels out of both sums.
    int h[4][4];
    for (unsigned int row = 0; row < 4; ++row) {
        const unsigned char* line = mBase + (static_cast<unsigned long long>(y + row - 1) * mWidth + x - 1) * mPixelBytes;
        for (unsigned int column = 0; column < 4; ++column) {
            h[row][column] = line[column * mPixelBytes];
        }
    }
    const auto normalAt = [&h](int column, int row) {
        const int left = h[row - 1][column - 1] + h[row][column - 1] + h[row + 1][column - 1];
        const int right = h[row - 1][column + 1] + h[row][column + 1] + h[row + 1][column + 1];
        const int up = h[row - 1][column - 1] + h[row - 1][column] + h[row - 1][column + 1];
        const int down = h[row + 1][column - 1] + h[row + 1][column] + h[row + 1][column + 1];
        constexpr float SCALE = 1.0f / (6.0f * 255.0f);
        return CppLib::TVector<float, 3>(static_cast<float>(left - right) * SCALE, 1.0f,
                                         static_cast<float>(up - down) * SCALE);
    };
    m00 = normalAt(1, 1);
    m10 = normalAt(2, 1);
    m01 = normalAt(1, 2);
    m11 = normalAt(2, 2);
}

} // namespace Velta
