#pragma once

#include "VeltaExport.h"

namespace Velta {

/// Switches for how a camera's view, or a material, is drawn. A plain state
/// holder shared through SharedPtr; the renderer reads it when it draws.
class VELTA_EXPORT RenderSettings {
public:
    /// Polygon mode and shade model. Values above SHADE_SMOOTH draw filled
    /// and flat.
    enum ShadingMode {
        SHADE_POINTS = 0,    ///< points, flat
        SHADE_WIREFRAME = 1, ///< lines, flat
        SHADE_FLAT = 2,      ///< filled, flat
        SHADE_SMOOTH = 3     ///< filled, smooth
    };

    /// Smooth shading, no fog, lights and textures on, detail levels 0 to 10000.
    RenderSettings();
    virtual ~RenderSettings();

    void setShadingMode(ShadingMode mode) { mShadingMode = mode; }
    ShadingMode getShadingMode() const { return mShadingMode; }

    /// Exponential fog over the whole view.
    void setUseFog(bool use) { mUseFog = use; }
    bool useFog() const { return mUseFog; }

    void setUseLights(bool use) { mUseLights = use; }
    bool useLights() const { return mUseLights; }

    void setUseTextures(bool use) { mUseTextures = use; }
    bool useTextures() const { return mUseTextures; }

    /// Range of detail levels to draw; stored for the renderer, unused so far.
    void setMinLOD(int level) { mMinLOD = level; }
    int getMinLOD() const { return mMinLOD; }
    void setMaxLOD(int level) { mMaxLOD = level; }
    int getMaxLOD() const { return mMaxLOD; }

private:
    ShadingMode mShadingMode = SHADE_SMOOTH;
    bool mUseFog = false;
    bool mUseLights = true;
    bool mUseTextures = true;
    int mMinLOD = 0;
    int mMaxLOD = 10000;
};

} // namespace Velta
