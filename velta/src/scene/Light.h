#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "scene/BoundingBox.h"
#include "scene/Leaf.h"

namespace Velta {

/// A light source placed by its world matrix: a point light at its origin, a
/// spot light at its origin shining along its −z axis, a directional light
/// shining along its −z axis from infinitely far away.
///
/// Its bound is INFINITE: a light is never culled and makes every group
/// above it unbounded. The setters store values only; the renderer reads
/// them every frame.
class VELTA_EXPORT Light : public Leaf {
public:
    enum LightType {
        DIRECTIONAL = 0,
        SPOT = 1,
        POINT = 2
    };

    /// An enabled white point light with a dim grey ambient part and
    /// attenuation 1 + 0.02·d.
    Light();
    explicit Light(const std::string& name);
    Light(const std::string& name, const std::string& uniqueName);
    ~Light() override;

    LightType getLightType() const { return mLightType; }
    void setLightType(LightType type) { mLightType = type; }
    bool isEnabled() const { return mEnabled; }
    void setEnabled(bool enabled) { mEnabled = enabled; }

    Color& getAmbientColor() { return mAmbient; }
    const Color& getAmbientColor() const { return mAmbient; }
    void setAmbientColor(const Color& color) { mAmbient = color; }
    Color& getDiffuseColor() { return mDiffuse; }
    const Color& getDiffuseColor() const { return mDiffuse; }
    void setDiffuseColor(const Color& color) { mDiffuse = color; }
    Color& getSpecularColor() { return mSpecular; }
    const Color& getSpecularColor() const { return mSpecular; }
    void setSpecularColor(const Color& color) { mSpecular = color; }

    /// Spot cone half-angle in degrees, and the exponent of its fall-off.
    float getSpotCutoff() const { return mSpotCutoff; }
    void setSpotCutoff(float degrees) { mSpotCutoff = degrees; }
    float getSpotExponent() const { return mSpotExponent; }
    void setSpotExponent(float exponent) { mSpotExponent = exponent; }

    /// Intensity falls off as 1 / (constant + linear·d + quadratic·d²).
    float getConstantAttenuation() const { return mConstantAttenuation; }
    void setConstantAttenuation(float factor) { mConstantAttenuation = factor; }
    float getLinearAttenuation() const { return mLinearAttenuation; }
    void setLinearAttenuation(float factor) { mLinearAttenuation = factor; }
    float getQuadraticAttenuation() const { return mQuadraticAttenuation; }
    void setQuadraticAttenuation(float factor) { mQuadraticAttenuation = factor; }

    /// An INFINITE box.
    const BoundingVolume* getBoundingVolume() const override { return &mBoundingVolume; }

private:
    LightType mLightType = POINT;
    bool mEnabled = true;
    Color mAmbient = Color(0.2f, 0.2f, 0.2f, 1.0f);
    Color mDiffuse = Color(1.0f, 1.0f, 1.0f, 1.0f);
    Color mSpecular = Color(1.0f, 1.0f, 1.0f, 1.0f);
    float mSpotCutoff = 45.0f;
    float mSpotExponent = 1.0f;
    float mConstantAttenuation = 1.0f;
    float mLinearAttenuation = 0.02f;
    float mQuadraticAttenuation = 0.0f;
    BoundingBox mBoundingVolume;
};

} // namespace Velta
