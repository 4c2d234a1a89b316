# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  render/Capabilities.h render/Capabilities.cpp
  render/RenderContext.h render/RenderContext.cpp
  render/RenderEngine.h render/RenderEngine.cpp
  render/RenderManager.h render/RenderManager.cpp
  render/RenderTarget.h render/RenderTarget.cpp
  render/RenderTexture.h render/RenderTexture.cpp
  render/RenderWindow.h render/RenderWindow.cpp
  render/TargetRenderer.h render/TargetRenderer.cpp
  render/Viewport.h render/Viewport.cpp
)
