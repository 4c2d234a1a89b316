#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"

namespace Velta {

class Viewport;

/// The ordered list of viewports a window draws each frame, in index order:
/// a later viewport is drawn over an earlier one where they overlap. Shared
/// through SharedPtr between the game and the windows it is attached to.
class VELTA_EXPORT RenderTarget {
public:
    RenderTarget();
    virtual ~RenderTarget();

    int getViewportCount() const { return static_cast<int>(mViewports.getSize()); }

    /// Appends; returns the new viewport's index.
    int attachViewport(CppLib::SharedPtr<Viewport> viewport);

    /// Inserts before position `index` (0 … count; count appends). Returns
    /// the viewport's index, or −1, changing nothing, for an index outside
    /// that range.
    int insertViewport(int index, CppLib::SharedPtr<Viewport> viewport);

    /// The viewport at `index`; empty outside 0 … count−1.
    CppLib::SharedPtr<Viewport> getViewport(int index) const;

    /// The viewport at `index`. It stays in the list: disable it
    /// (Viewport::setEnabled) to stop drawing it.
    CppLib::SharedPtr<Viewport> detachViewport(int index) const;

    /// What the window shows where no viewport draws anything: it is
    /// cleared to this colour before the first viewport. Black by default.
    void setBackgroundColor(const Color& color) { mBackground = color; }
    const Color& getBackgroundColor() const { return mBackground; }

private:
    CppLib::Vector<CppLib::SharedPtr<Viewport>> mViewports;
    Color mBackground{0.0f, 0.0f, 0.0f, 0.0f};
};

} // namespace Velta
