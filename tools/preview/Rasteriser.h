#pragma once

#include "Image.h"
#include "ImageFile.h"

#include <array>
#include <vector>

namespace VeltaTools {

using Vec3f = std::array<float, 3>;

/// A camera for the preview renderer: a look-at view with a vertical field
/// of view in degrees.
struct Camera {
    Vec3f eye{0, 0, 5};
    Vec3f target{0, 0, 0};
    float fovY = 40.0f;
    float nearPlane = 0.01f;
};

/// One corner of a triangle to draw.
struct RasterVertex {
    Vec3f position;
    Vec3f normal;
    float s = 0.0f, t = 0.0f;
    Rgba colour{1, 1, 1, 1};
};

/// A tiny z-buffered triangle renderer with perspective-correct texture
/// coordinates and one directional light, enough to judge models and the
/// terrain at a glance.
class Rasteriser {
public:
    Rasteriser(int width, int height, const Rgba& background);

    void setCamera(const Camera& camera);
    /// Texture used by the triangles drawn next (null: none).
    void setTexture(const RawImage* texture) { mTexture = texture; }
    /// Lighting on: diffuse from the light plus ambient; off: colours as given.
    void setLit(bool lit) { mLit = lit; }
    /// Opacity of what is drawn next (below 1 blends and leaves depth as is).
    void setOpacity(float opacity) { mOpacity = opacity; }

    void drawTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c);

    const Image& getImage() const { return mImage; }

private:
    struct Projected {
        float x, y, invW, depth;
    };
    bool project(const Vec3f& p, Projected& out) const;
    Rgba sampleTexture(float s, float t) const;

    Image mImage;
    std::vector<float> mDepth;
    Camera mCamera;
    Vec3f mRight{1, 0, 0}, mUp{0, 1, 0}, mForward{0, 0, -1};
    float mFocal = 1.0f;
    const RawImage* mTexture = nullptr;
    bool mLit = true;
    float mOpacity = 1.0f;
};

} // namespace VeltaTools
