#pragma once

#include "VeltaExport.h"
#include "core/Process.h"
#include "core/Subsystem.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/Vector.h"

#include <string>
#include <utility>
#include <vector>

namespace Velta {

class RenderEngine;
class RenderWindow;
class TargetRenderer;

/// Subsystem 6: the registry of render engines and of the windows opened
/// through them. Every window gets a render process that draws it once per
/// frame, in the order the windows were created.
///
/// Owned by the engine core. Engines stay their plug-ins'; windows are the
/// manager's from creation until destroyRenderWindow or the manager's end.
class VELTA_EXPORT RenderManager : public Subsystem {
public:
    /// Draws one window per frame.
    class VELTA_EXPORT RenderAdapter : public Process {
    public:
        explicit RenderAdapter(TargetRenderer& renderer) : mRenderer(&renderer) {}
        ~RenderAdapter() override;

        /// Draws a frame; answers 0.
        int run(long long time) override;

        TargetRenderer& getTargetRenderer() const { return *mRenderer; }

    private:
        TargetRenderer* mRenderer;
    };

    RenderManager();
    /// Destroys the remaining windows, then shuts down the engines it
    /// initialised.
    ~RenderManager() override;

    RenderManager(const RenderManager&) = delete;
    RenderManager& operator=(const RenderManager&) = delete;

    /// Registers `engine` under `name`, replacing an earlier one of that
    /// name. The first name registered becomes the default. After
    /// initializeRenderer the engine is initialised at once.
    void registerRenderer(const std::string& name, RenderEngine* engine);

    /// False, changing nothing, when no engine has that name.
    bool setDefaultRenderer(const std::string& name);
    const std::string& getDefaultRenderer() const { return mDefaultRenderer; }

    /// Initialises every registered engine in name order and, when asked,
    /// opens an 800 × 600 window named "default". Answers 1 whatever the
    /// engines answered.
    int initializeRenderer(bool createDefaultWindow);
    bool isInitialized() const { return mInitialized; }

    /// Opens a window through the default engine and renders it every frame
    /// from now on. Null when there is no default engine or the engine
    /// cannot open the window. The first window becomes the primary one.
    RenderWindow* createRenderWindow(const std::string& name, int width, int height, bool fullscreen, int offsetX,
                                     int offsetY, CppLib::LinkedMap<std::string, std::string>* params);

    /// The full-screen sizes the default engine's display offers, largest
    /// first; empty when any size will do or it cannot tell.
    std::vector<std::pair<int, int>> getFullscreenSizes() const;

    /// Removes the window and its render process and deletes the window.
    /// False for an unknown id.
    bool destroyRenderWindow(int id);

    /// Null when absent.
    RenderWindow* getRenderWindow(int id) const;
    RenderWindow* getPrimaryRenderWindow() const;
    unsigned int getRenderWindowCount() const { return mWindows.getSize(); }

    /// Makes the window with `id` the primary one when it exists. Returns
    /// the primary id from before the call (−1 for none).
    int setPrimaryRenderWindow(int id);
    int getPrimaryRenderWindowId() const { return mPrimaryWindowId; }

    /// The first window, by id, with that name; null for none.
    RenderWindow* getRenderWindowByName(const std::string& name) const;

    /// The registered engines' names, in name order.
    CppLib::Vector<std::string> getRendererNames() const;

    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    RenderEngine* findRenderer(const std::string& name) const;
    int createWindowId() const;
    void removeRenderAdapter(int windowId);

    bool mInitialized = false;
    std::string mDefaultRenderer;
    int mPrimaryWindowId = -1;
    CppLib::LinkedMap<std::string, RenderEngine*> mRenderers;
    CppLib::LinkedMap<int, RenderWindow*> mWindows;
    std::vector<Process*> mProcessList;
};

} // namespace Velta
