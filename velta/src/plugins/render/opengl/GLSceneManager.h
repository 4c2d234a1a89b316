#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"

namespace Velta {

class GLRenderContext;
class Light;
class RenderSettings;

/// Sets the state of the scene a view shows: its render settings, the
/// lights its walk collected and fog. One per view renderer, started afresh
/// for every view.
class VELTA_EXPORT GLSceneManager {
public:
    /// OpenGL's fixed-function pipeline has eight lights.
    static constexpr unsigned int MAX_LIGHTS = 8;

    explicit GLSceneManager(GLRenderContext& context);
    virtual ~GLSceneManager();

    GLSceneManager(const GLSceneManager&) = delete;
    GLSceneManager& operator=(const GLSceneManager&) = delete;

    /// Starts a view drawn with `settings` (empty for none): no lights yet,
    /// render state not applied.
    void begin(const CppLib::SharedPtr<RenderSettings>& settings);

    /// Collected in walk order; the light must live until the view is drawn.
    void addLight(Light& light);
    const CppLib::Vector<Light*>& getLights() const { return mLights; }

    /// Turns on lighting and configures light i on OpenGL light i mod 8 from
    /// its world matrix; OpenGL lights that no light of this view uses are
    /// switched off. Expects the camera matrix on top of the modelview stack
    /// (pushed once), and leaves it there.
    void setupLights();

    /// Applies the render settings, then fog: exponential, density 0.04, in
    /// the river's blue, when the settings ask for it; off otherwise.
    void setupFog();

private:
    void applyRenderSettings();

    GLRenderContext* mContext;
    bool mApplied = false;
    bool mReportedLightCount = false;
    CppLib::Vector<Light*> mLights;
    CppLib::SharedPtr<RenderSettings> mRenderSettings;
};

} // namespace Velta
