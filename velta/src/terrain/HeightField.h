#pragma once

#include "VeltaExport.h"
#include "cpplib/TVector.h"
#include "geometry/DataType.h"

#include <string>

namespace Velta {

class TextureSource;

/// Reads heights in place out of one byte channel of one slice of an
/// unsigned-byte image, as values 0 … 1, and interpolates them on the
/// triangles the terrain draws: every pixel square is split along its
/// (x, y)–(x + 1, y + 1) diagonal.
///
/// A field is checked once when it is assigned and answers flat ground (0,
/// normal straight up) when the image cannot be read. It borrows the image's
/// pixels: the image must stay alive and unchanged in layout while the field
/// refers to it (the tile keeps it alive). Reading allocates nothing.
class VELTA_EXPORT HeightField {
public:
    /// Why a field reads flat ground; OK when it reads the image.
    enum Status {
        OK = 0,
        NO_IMAGE,      ///< no image assigned
        EMPTY,         ///< no pixels (a width, height or depth of 0)
        WRONG_TYPE,    ///< components other than unsigned bytes
        NO_CHANNEL,    ///< the channel asked for is not in the image
        NO_SLICE,      ///< the slice asked for is not in the image
        NO_PIXELS      ///< the image has no readable block of pixels
    };

    /// Position of a point of the field: the pixel (x, y) at or before it and
    /// the fractions (fx, fy) towards the next pixel, each 0 … 1.
    struct Cell {
        unsigned int x = 0;
        unsigned int y = 0;
        float fx = 0.0f;
        float fy = 0.0f;
    };

    HeightField() = default;

    /// `value` limited to 0 … 1; NaN counts as 0.
    static float clampUnit(float value)
    {
        if (!(value > 0.0f)) {
            return 0.0f;
        }
        return value < 1.0f ? value : 1.0f;
    }

    /// Reads channel `channel` of slice `slice` of `image` (null: none) from
    /// now on; answers the status, which stays readable.
    Status assign(const TextureSource* image, unsigned int channel, unsigned int slice);

    Status getStatus() const { return mStatus; }
    bool isValid() const { return mStatus == OK; }

    /// One line saying why the image cannot be read (empty when it can).
    std::string describeStatus() const;

    /// Pixels per row and rows; 0 for a field that cannot be read.
    unsigned int getWidth() const { return mWidth; }
    unsigned int getHeight() const { return mHeight; }

    /// The value of pixel (x, y), 0 … 1; coordinates past the last pixel read
    /// the last pixel. 0 for a field that cannot be read.
    float getValue(unsigned int x, unsigned int y) const
    {
        if (!mBase) {
            return 0.0f;
        }
        x = x < mWidth ? x : mWidth - 1;
        y = y < mHeight ? y : mHeight - 1;
        const unsigned long long pixel = static_cast<unsigned long long>(y) * mWidth + x;
        return mBase[pixel * mPixelBytes] * (1.0f / 255.0f);
    }

    /// Where (u, v) lies on the pixel grid: u and v (0 … 1 across the image,
    /// clamped; NaN counts as 0) map to u × (width − 1), v × (height − 1).
    Cell locate(float u, float v) const;

    /// The value at (u, v), interpolated on the cell's triangle; 0 for a
    /// field that cannot be read.
    float interpolate(float u, float v) const;

    /// The unnormalised normal of pixel (x, y) from the differences to its
    /// neighbours inside the image: (gx, 1, gy), neither the height scale nor
    /// the pixel spacing entering. (0, 1, 0) for a field that cannot be read.
    CppLib::TVector<float, 3> getPixelNormal(unsigned int x, unsigned int y) const;

    /// The pixel normals interpolated at (u, v) on the cell's triangle and
    /// scaled to length 1; (0, 1, 0) for a field that cannot be read.
    CppLib::TVector<float, 3> getNormal(float u, float v) const;

private:
    /// The pixel normals of the square at (x, y) and its three far corners,
    /// for a square whose corners all have their eight neighbours.
    void getInnerNormals(unsigned int x, unsigned int y, CppLib::TVector<float, 3>& m00,
                         CppLib::TVector<float, 3>& m10, CppLib::TVector<float, 3>& m01,
                         CppLib::TVector<float, 3>& m11) const;

    Status mStatus = NO_IMAGE;
    /// The channel's byte of the slice's first pixel; null when invalid.
    const unsigned char* mBase = nullptr;
    unsigned int mWidth = 0;
    unsigned int mHeight = 0;
    unsigned int mPixelBytes = 0;
    unsigned int mChannel = 0;
    unsigned int mSlice = 0;
    DataType::Type mDataType = DataType::NONE;
};

} // namespace Velta
