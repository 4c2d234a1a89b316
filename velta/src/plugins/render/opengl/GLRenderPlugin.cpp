#include "plugins/render/opengl/GLRenderPlugin.h"

#include "core/VeltaCore.h"
#include "plugins/render/opengl/GLRenderEngine.h"
#include "render/RenderManager.h"

namespace Velta {

GLRenderPlugin::GLRenderPlugin() = default;

GLRenderPlugin::~GLRenderPlugin() = default;

int GLRenderPlugin::registerPlugin()
{
    if (!mRenderEngine) {
        mRenderEngine = std::make_unique<GLRenderEngine>();
    }
    VeltaCore::getSingleton().getRenderManager().registerRenderer("opengl", mRenderEngine.get());
    return 0;
}

} // namespace Velta
