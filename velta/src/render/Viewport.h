#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"

namespace Velta {

class Camera;

/// A rectangle of a render target that shows what one camera sees. The
/// rectangle is either absolute (pixels from the target's lower left corner)
/// or relative (fractions of the target's size, so it follows the target).
/// Shared through SharedPtr between the game and the render targets.
class VELTA_EXPORT Viewport {
public:
    /// Relative layout: fractions of the target's width and height.
    Viewport(float x, float y, float width, float height);
    /// Absolute layout, in pixels.
    Viewport(int x, int y, int width, int height);
    virtual ~Viewport();

    void setRelativeLayout(float x, float y, float width, float height);
    void setAbsoluteLayout(int x, int y, int width, int height);
    bool isRelative() const { return mRelative; }

    /// Only enabled viewports are drawn; enabled after construction.
    void setEnabled(bool enabled) { mEnabled = enabled; }
    bool isEnabled() const { return mEnabled; }

    /// The rectangle in pixels on a target of the given size: relative
    /// values are the fraction × the size, truncated toward zero; absolute
    /// values ignore the size.
    int getPosX(int targetWidth) const;
    int getPosY(int targetHeight) const;
    int getWidth(int targetWidth) const;
    int getHeight(int targetHeight) const;

    void attachCamera(CppLib::SharedPtr<Camera> camera) { mCamera = camera; }
    CppLib::SharedPtr<Camera> getCamera() const { return mCamera; }
    /// Empties the viewport and returns the camera it showed.
    CppLib::SharedPtr<Camera> detachCamera();

private:
    bool mEnabled = true;
    bool mRelative;
    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
    float mRelX = 0.0f;
    float mRelY = 0.0f;
    float mRelWidth = 0.0f;
    float mRelHeight = 0.0f;
    CppLib::SharedPtr<Camera> mCamera;
};

} // namespace Velta
