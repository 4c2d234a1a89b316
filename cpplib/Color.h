#pragma once

namespace Velta {

/// RGBA colour with float components, normally 0 … 1.
struct Color {
    /// Order and meaning of the components of a pixel.
    enum Format {
        UNKNOWN = 0,
        SINGLE_CHANNEL = 1,
        RGB = 2,
        RGBA = 3,
        BGR = 4,
        BGRA = 5,
        LUMINANCE = 6
    };

    Color() = default;
    Color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}

    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color& o) const { return !(*this == o); }

    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

} // namespace Velta
