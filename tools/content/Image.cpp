#include "Image.h"

#include <algorithm>
#include <cmath>

namespace VeltaTools {

Rgba mix(const Rgba& from, const Rgba& to, float t)
{
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Rgba rgb(int r, int g, int b, int a)
{
    return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

std::uint8_t toByte(float value)
{
    const float clamped = std::clamp(value, 0.0f, 1.0f);
    return static_cast<std::uint8_t>(std::lround(clamped * 255.0f));
}

Image::Image(int width, int height, const Rgba& fill)
    : mWidth(width), mHeight(height), mPixels(static_cast<std::size_t>(width) * height, fill)
{
}

const Rgba& Image::sample(int x, int y, bool wrap) const
{
    if (wrap) {
        x = ((x % mWidth) + mWidth) % mWidth;
        y = ((y % mHeight) + mHeight) % mHeight;
    } else {
        x = std::clamp(x, 0, mWidth - 1);
        y = std::clamp(y, 0, mHeight - 1);
    }
    return at(x, y);
}

void Image::blend(int x, int y, const Rgba& colour, float coverage)
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) {
        return;
    }
    Rgba& dst = at(x, y);
    const float sa = std::clamp(colour.a * coverage, 0.0f, 1.0f);
    const float outA = sa + dst.a * (1.0f - sa);
    if (outA <= 0.0f) {
        dst = Rgba{0, 0, 0, 0};
        return;
    }
    const float keep = dst.a * (1.0f - sa);
    dst.r = (colour.r * sa + dst.r * keep) / outA;
    dst.g = (colour.g * sa + dst.g * keep) / outA;
    dst.b = (colour.b * sa + dst.b * keep) / outA;
    dst.a = outA;
}

void Image::shade(const std::function<Rgba(float, float)>& shader)
{
    for (int y = 0; y < mHeight; ++y) {
        for (int x = 0; x < mWidth; ++x) {
            at(x, y) = shader(x + 0.5f, y + 0.5f);
        }
    }
}

void Image::fillCoverage(float x0, float y0, float x1, float y1, const std::function<bool(float, float)>& inside,
                         const std::function<Rgba(float, float)>& shader)
{
    const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
    const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    const int ix1 = std::min(mWidth - 1, static_cast<int>(std::ceil(x1)));
    const int iy1 = std::min(mHeight - 1, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    if (inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f)) {
                        ++hits;
                    }
                }
            }
            if (hits > 0) {
                blend(x, y, shader(x + 0.5f, y + 0.5f), hits / 16.0f);
            }
        }
    }
}

namespace {

bool insidePolygon(const std::vector<Vec2>& points, float x, float y)
{
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Vec2& a = points[i];
        const Vec2& b = points[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

float distanceToSegment(float px, float py, const Vec2& a, const Vec2& b)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0.0f ? ((px - a.x) * dx + (py - a.y) * dy) / lengthSquared : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = a.x + dx * t - px;
    const float ey = a.y + dy * t - py;
    return std::sqrt(ex * ex + ey * ey);
}

} // namespace

void Image::fillPolygon(const std::vector<Vec2>& points, const Rgba& colour)
{
    fillPolygon(points, [&colour](float, float) { return colour; });
}

void Image::fillPolygon(const std::vector<Vec2>& points, const std::function<Rgba(float, float)>& shader)
{
    if (points.size() < 3) {
        return;
    }
    float x0 = points[0].x, x1 = points[0].x, y0 = points[0].y, y1 = points[0].y;
    for (const Vec2& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    fillCoverage(x0, y0, x1, y1, [&points](float x, float y) { return insidePolygon(points, x, y); }, shader);
}

void Image::fillEllipse(float cx, float cy, float rx, float ry, const Rgba& colour)
{
    fillEllipse(cx, cy, rx, ry, [&colour](float, float) { return colour; });
}

void Image::fillEllipse(float cx, float cy, float rx, float ry, const std::function<Rgba(float, float)>& shader)
{
    fillCoverage(cx - rx, cy - ry, cx + rx, cy + ry,
                 [=](float x, float y) {
                     const float dx = (x - cx) / rx;
                     const float dy = (y - cy) / ry;
                     return dx * dx + dy * dy <= 1.0f;
                 },
                 shader);
}

void Image::fillRect(float x0, float y0, float x1, float y1, const Rgba& colour)
{
    fillPolygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, colour);
}

void Image::fillRoundedRect(float x0, float y0, float x1, float y1, float radius, const Rgba& colour)
{
    fillRoundedRect(x0, y0, x1, y1, radius, [&colour](float, float) { return colour; });
}

void Image::fillRoundedRect(float x0, float y0, float x1, float y1, float radius,
                            const std::function<Rgba(float, float)>& shader)
{
    fillCoverage(x0, y0, x1, y1,
                 [=](float x, float y) {
                     if (x < x0 || x > x1 || y < y0 || y > y1) {
                         return false;
                     }
                     const float cx = std::clamp(x, x0 + radius, x1 - radius);
                     const float cy = std::clamp(y, y0 + radius, y1 - radius);
                     const float dx = x - cx;
                     const float dy = y - cy;
                     return dx * dx + dy * dy <= radius * radius;
                 },
                 shader);
}

void Image::strokePolyline(const std::vector<Vec2>& points, float width, const Rgba& colour)
{
    if (points.empty()) {
        return;
    }
    const float half = width * 0.5f;
    float x0 = points[0].x, x1 = points[0].x, y0 = points[0].y, y1 = points[0].y;
    for (const Vec2& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    fillCoverage(x0 - half, y0 - half, x1 + half, y1 + half,
                 [&points, half](float x, float y) {
                     if (points.size() == 1) {
                         return distanceToSegment(x, y, points[0], points[0]) <= half;
                     }
                     for (std::size_t i = 1; i < points.size(); ++i) {
                         if (distanceToSegment(x, y, points[i - 1], points[i]) <= half) {
                             return true;
                         }
                     }
                     return false;
                 },
                 [&colour](float, float) { return colour; });
}

void Image::drawImage(const Image& other, int x, int y, float opacity)
{
    for (int sy = 0; sy < other.getHeight(); ++sy) {
        for (int sx = 0; sx < other.getWidth(); ++sx) {
            blend(x + sx, y + sy, other.at(sx, sy), opacity);
        }
    }
}

std::vector<std::uint8_t> Image::toRgba8() const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(mPixels.size() * 4);
    // Colour is kept where alpha is 0: the colour map's alpha is a blend
    // factor, not coverage.
    for (const Rgba& p : mPixels) {
        bytes.push_back(toByte(p.r));
        bytes.push_back(toByte(p.g));
        bytes.push_back(toByte(p.b));
        bytes.push_back(toByte(p.a));
    }
    return bytes;
}

std::vector<std::uint8_t> Image::toRgb8() const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(mPixels.size() * 3);
    for (const Rgba& p : mPixels) {
        bytes.push_back(toByte(p.r));
        bytes.push_back(toByte(p.g));
        bytes.push_back(toByte(p.b));
    }
    return bytes;
}

} // namespace VeltaTools
