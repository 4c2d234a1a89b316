#include "Rasteriser.h"

#include <algorithm>
#include <cmath>

namespace VeltaTools {

namespace {

Vec3f sub(const Vec3f& a, const Vec3f& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

float dot(const Vec3f& a, const Vec3f& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3f cross(const Vec3f& a, const Vec3f& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3f normalised(const Vec3f& v)
{
    const float length = std::sqrt(dot(v, v));
    return length > 0 ? Vec3f{v[0] / length, v[1] / length, v[2] / length} : Vec3f{0, 1, 0};
}

} // namespace

Rasteriser::Rasteriser(int width, int height, const Rgba& background)
    : mImage(width, height, background), mDepth(static_cast<std::size_t>(width) * height, 1e30f)
{
}

void Rasteriser::setCamera(const Camera& camera)
{
    mCamera = camera;
    mForward = normalised(sub(camera.target, camera.eye));
    const Vec3f up = std::abs(mForward[1]) > 0.99f ? Vec3f{0, 0, 1} : Vec3f{0, 1, 0};
    mRight = normalised(cross(mForward, up));
    mUp = cross(mRight, mForward);
    mFocal = 0.5f * mImage.getHeight() / std::tan(camera.fovY * 3.14159265f / 360.0f);
}

bool Rasteriser::project(const Vec3f& p, Projected& out) const
{
    const Vec3f d = sub(p, mCamera.eye);
    const float z = dot(d, mForward);
    if (z < mCamera.nearPlane) {
        return false;
    }
    out.x = mImage.getWidth() * 0.5f + dot(d, mRight) * mFocal / z;
    out.y = mImage.getHeight() * 0.5f - dot(d, mUp) * mFocal / z;
    out.invW = 1.0f / z;
    out.depth = z;
    return true;
}

Rgba Rasteriser::sampleTexture(float s, float t) const
{
    if (!mTexture || mTexture->width == 0) {
        return {1, 1, 1, 1};
    }
    const float fx = s - std::floor(s);
    const float fy = t - std::floor(t);
    const int x = std::min(mTexture->width - 1, static_cast<int>(fx * mTexture->width));
    const int y = std::min(mTexture->height - 1, static_cast<int>(fy * mTexture->height));
    const std::uint8_t* p = &mTexture->pixels[(static_cast<std::size_t>(y) * mTexture->width + x) * 4];
    return {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f};
}

void Rasteriser::drawTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c)
{
    Projected p[3];
    if (!project(a.position, p[0]) || !project(b.position, p[1]) || !project(c.position, p[2])) {
        return;
    }
    const RasterVertex* v[3] = {&a, &b, &c};
    const float area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
    if (std::abs(area) < 1e-6f) {
        return;
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({p[0].x, p[1].x, p[2].x}))));
    const int x1 = std::min(mImage.getWidth() - 1, static_cast<int>(std::ceil(std::max({p[0].x, p[1].x, p[2].x}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({p[0].y, p[1].y, p[2].y}))));
    const int y1 = std::min(mImage.getHeight() - 1, static_cast<int>(std::ceil(std::max({p[0].y, p[1].y, p[2].y}))));
    const Vec3f light = normalised({-0.45f, 0.8f, 0.4f});

    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            float w[3];
            w[0] = ((p[1].x - px) * (p[2].y - py) - (p[2].x - px) * (p[1].y - py)) / area;
            w[1] = ((p[2].x - px) * (p[0].y - py) - (p[0].x - px) * (p[2].y - py)) / area;
            w[2] = 1.0f - w[0] - w[1];
            if (w[0] < 0 || w[1] < 0 || w[2] < 0) {
                continue;
            }
            const float invW = w[0] * p[0].invW + w[1] * p[1].invW + w[2] * p[2].invW;
            const float depth = 1.0f / invW;
            float& stored = mDepth[static_cast<std::size_t>(y) * mImage.getWidth() + x];
            if (depth >= stored) {
                continue;
            }
            float k[3];
            for (int i = 0; i < 3; ++i) {
                k[i] = w[i] * p[i].invW / invW;
            }
            const float s = k[0] * v[0]->s + k[1] * v[1]->s + k[2] * v[2]->s;
            const float t = k[0] * v[0]->t + k[1] * v[1]->t + k[2] * v[2]->t;
            Rgba colour = sampleTexture(s, t);
            Rgba tint{0, 0, 0, 0};
            Vec3f normal{0, 0, 0};
            for (int i = 0; i < 3; ++i) {
                tint.r += k[i] * v[i]->colour.r;
                tint.g += k[i] * v[i]->colour.g;
                tint.b += k[i] * v[i]->colour.b;
                tint.a += k[i] * v[i]->colour.a;
                for (int j = 0; j < 3; ++j) {
                    normal[j] += k[i] * v[i]->normal[j];
                }
            }
            colour = {colour.r * tint.r, colour.g * tint.g, colour.b * tint.b, colour.a * tint.a};
            if (mLit) {
                normal = normalised(normal);
                const float diffuse = std::max(0.0f, dot(normal, light));
                const float shade = 0.42f + 0.68f * diffuse;
                colour = colour.scaled(shade);
            }
            if (mOpacity >= 1.0f) {
                stored = depth;
                colour.a = 1.0f;
                mImage.at(x, y) = colour;
            } else {
                mImage.blend(x, y, colour.withAlpha(1.0f), mOpacity);
            }
        }
    }
}

} // namespace VeltaTools
