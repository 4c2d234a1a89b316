#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

#include <memory>

namespace Velta {

class GLRenderEngine;

/// Installs the OpenGL render engine under the name "opengl". Owns the
/// engine, which outlives the render manager.
class VELTA_EXPORT GLRenderPlugin : public Plugin {
public:
    GLRenderPlugin();
    ~GLRenderPlugin() override;

    int registerPlugin() override;
    /// Leaves the engine registered; answers 1.
    int unregisterPlugin() override { return 1; }

    /// The engine; null before registerPlugin().
    GLRenderEngine* getRenderEngine() const { return mRenderEngine.get(); }

private:
    std::unique_ptr<GLRenderEngine> mRenderEngine;
};

} // namespace Velta
