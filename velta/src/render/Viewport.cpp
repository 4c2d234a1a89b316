#include "render/Viewport.h"

#include "scene/Camera.h"

namespace Velta {

Viewport::Viewport(float x, float y, float width, float height)
    : mRelative(true), mRelX(x), mRelY(y), mRelWidth(width), mRelHeight(height)
{
}

Viewport::Viewport(int x, int y, int width, int height)
    : mRelative(false), mX(x), mY(y), mWidth(width), mHeight(height)
{
}

Viewport::~Viewport() = default;

void Viewport::setRelativeLayout(float x, float y, float width, float height)
{
    mRelative = true;
    mRelX = x;
    mRelY = y;
    mRelWidth = width;
    mRelHeight = height;
}

void Viewport::setAbsoluteLayout(int x, int y, int width, int height)
{
    mRelative = false;
    mX = x;
    mY = y;
    mWidth = width;
    mHeight = height;
}

int Viewport::getPosX(int targetWidth) const
{
    return mRelative ? static_cast<int>(mRelX * static_cast<float>(targetWidth)) : mX;
}

int Viewport::getPosY(int targetHeight) const
{
    return mRelative ? static_cast<int>(mRelY * static_cast<float>(targetHeight)) : mY;
}

int Viewport::getWidth(int targetWidth) const
{
    return mRelative ? static_cast<int>(mRelWidth * static_cast<float>(targetWidth)) : mWidth;
}

int Viewport::getHeight(int targetHeight) const
{
    return mRelative ? static_cast<int>(mRelHeight * static_cast<float>(targetHeight)) : mHeight;
}

CppLib::SharedPtr<Camera> Viewport::detachCamera()
{
    CppLib::SharedPtr<Camera> camera = mCamera;
    mCamera.setNull();
    return camera;
}

} // namespace Velta
