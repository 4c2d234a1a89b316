#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "scene/Traverser.h"

namespace Velta {

class Frustrum;
class RenderSettings;
class SceneRoot;

/// A walk over one scene as a camera sees it, carrying the frustum and the
/// render settings to draw with. Made for one frame by Camera::getView or
/// SceneRoot::getView; the renderer adds its handler and walks it.
///
/// A perspective view has a ViewFilter as its first filter, which keeps the
/// walk out of nodes whose world bound lies entirely outside the frustum.
class VELTA_EXPORT View : public Traverser {
public:
    /// Skips nodes whose world bound lies outside the frustum and remembers
    /// how far inside the last node it let in lies.
    class VELTA_EXPORT ViewFilter : public Traverser::Filter {
    public:
        explicit ViewFilter(CppLib::SharedPtr<Frustrum> frustrum);
        ~ViewFilter() override;

        StatusResult filter(Node& node) override;

        /// The distance computed for the node filtered last (see
        /// BoundingVolume::getDistance); 0 before the first.
        float getLastDistance() const { return mLastDistance; }

    private:
        CppLib::SharedPtr<Frustrum> mFrustrum;
        float mLastDistance = 0.0f;
    };

    /// Over `scene`'s root. Without a frustrum nothing is culled.
    View(SceneRoot& scene, CppLib::SharedPtr<Frustrum> frustrum, CppLib::SharedPtr<RenderSettings> settings);
    ~View() override;

    /// Makes the view over for another frame of the same scene: the frustrum
    /// (copied into the one the view holds), the settings, no handlers.
    /// Allocates nothing. False, changing nothing, when `frustrum` is of
    /// another projection mode than the view's (which decides whether the
    /// view culls): make a new view then.
    bool renew(const Frustrum& frustrum, CppLib::SharedPtr<RenderSettings> settings);

    SceneRoot& getSceneRoot() const { return *mSceneRoot; }
    CppLib::SharedPtr<Frustrum> getFrustrum() const { return mFrustrum; }
    CppLib::SharedPtr<RenderSettings> getRenderSettings() const { return mRenderSettings; }

    /// The view's culling filter, or null for an unculled view.
    ViewFilter* getViewFilter() const { return mViewFilter.get(); }

private:
    SceneRoot* mSceneRoot;
    CppLib::SharedPtr<RenderSettings> mRenderSettings;
    CppLib::SharedPtr<Frustrum> mFrustrum;
    CppLib::SharedPtr<ViewFilter> mViewFilter;
};

} // namespace Velta
