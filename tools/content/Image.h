#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace VeltaTools {

/// Linear RGBA colour, components 0 to 1.
struct Rgba {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;

    Rgba withAlpha(float alpha) const { return {r, g, b, alpha}; }
    Rgba scaled(float factor) const { return {r * factor, g * factor, b * factor, a}; }
};

Rgba mix(const Rgba& from, const Rgba& to, float t);
Rgba rgb(int r, int g, int b, int a = 255);

/// A 2D point in pixels (x right, y down).
struct Vec2 {
    float x = 0.0f, y = 0.0f;
};

/// An RGBA image held as floats while it is painted; row 0 is the top row,
/// as the image files store it. Drawing blends "source over" with coverage
/// from 4 x 4 supersampling, so edges are smooth and output is deterministic.
class Image {
public:
    Image() = default;
    Image(int width, int height, const Rgba& fill = Rgba{0, 0, 0, 0});

    int getWidth() const { return mWidth; }
    int getHeight() const { return mHeight; }

    const Rgba& at(int x, int y) const { return mPixels[static_cast<std::size_t>(y) * mWidth + x]; }
    Rgba& at(int x, int y) { return mPixels[static_cast<std::size_t>(y) * mWidth + x]; }
    /// Clamped read with wrap-around when `wrap` is set.
    const Rgba& sample(int x, int y, bool wrap) const;

    /// Blends `colour` with extra opacity `coverage` over the pixel (ignored outside).
    void blend(int x, int y, const Rgba& colour, float coverage = 1.0f);

    /// Sets every pixel to shader(x + 0.5, y + 0.5).
    void shade(const std::function<Rgba(float, float)>& shader);

    void fillPolygon(const std::vector<Vec2>& points, const Rgba& colour);
    /// Fills a polygon with a colour that depends on the position.
    void fillPolygon(const std::vector<Vec2>& points, const std::function<Rgba(float, float)>& shader);
    void fillEllipse(float cx, float cy, float rx, float ry, const Rgba& colour);
    void fillEllipse(float cx, float cy, float rx, float ry, const std::function<Rgba(float, float)>& shader);
    void fillRect(float x0, float y0, float x1, float y1, const Rgba& colour);
    void fillRoundedRect(float x0, float y0, float x1, float y1, float radius, const Rgba& colour);
    void fillRoundedRect(float x0, float y0, float x1, float y1, float radius,
                         const std::function<Rgba(float, float)>& shader);
    /// A stroke of the given width along the points (round joins).
    void strokePolyline(const std::vector<Vec2>& points, float width, const Rgba& colour);
    /// Draws `other` with its top-left corner at (x, y), blending over.
    void drawImage(const Image& other, int x, int y, float opacity = 1.0f);

    /// 8-bit RGBA bytes, rows top to bottom.
    std::vector<std::uint8_t> toRgba8() const;
    /// 8-bit RGB bytes, alpha dropped.
    std::vector<std::uint8_t> toRgb8() const;

private:
    /// Paints with coverage from `inside(px, py)` tested at 16 sub-samples of
    /// each pixel of the bounding box.
    void fillCoverage(float x0, float y0, float x1, float y1, const std::function<bool(float, float)>& inside,
                      const std::function<Rgba(float, float)>& shader);

    int mWidth = 0;
    int mHeight = 0;
    std::vector<Rgba> mPixels;
};

std::uint8_t toByte(float value);

} // namespace VeltaTools
