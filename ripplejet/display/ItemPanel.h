#pragma once

#include "cpplib/SharedPtr.h"
#include "scene/Overlay.h"

#include <memory>
#include <optional>
#include <vector>

namespace Velta {
class Branch;
class GeometryObject;
class Texture2D;
class TextureProxy;
class TextureSource;
class TransformationNode;
class VertexData;
} // namespace Velta

namespace Ripplejet {

/// The display's item panel at the top right: the carried items' icons on a
/// strip that glides to put the selected one in the frame, and the selected
/// item's label below it. Three layers, drawn back to front: the bare panel
/// ("overlays\panel.png"); the strip seen through the panel mask
/// ("overlays\panelmask.png") with the frame ("overlays\item.png") over it;
/// the label ("empty.png" when nothing is selected).
///
/// The strip is an image of 1024 × 64 pixels with icon i at x = 12 + 94·i;
/// 425 of its pixels show across the panel, and the selected icon's slot
/// comes to rest 161 pixels into them. Owns its nodes, geometry and images.
class ItemPanel {
public:
    static constexpr unsigned int STRIP_WIDTH = 1024;
    static constexpr unsigned int STRIP_HEIGHT = 64;
    static constexpr unsigned int ICON_WIDTH = 80;
    static constexpr unsigned int ICON_HEIGHT = 60;
    static constexpr unsigned int ICON_LEFT = 12;
    static constexpr unsigned int ICON_SPACING = 94;
    /// Strip pixels across the panel, and where the selected slot rests.
    static constexpr float WINDOW_WIDTH = 425.0f;
    static constexpr float SELECTED_AT = 161.0f;

    ItemPanel();
    ~ItemPanel();

    ItemPanel(const ItemPanel&) = delete;
    ItemPanel& operator=(const ItemPanel&) = delete;

    /// The panel, placed by translate(0.75, 1, 0).
    Velta::TransformationNode& getNode() { return *mNode; }

    /// With `rebuild`, draws a new strip of `icons` in order (an empty icon
    /// leaves its slot empty; icons past the strip's end are cut off) and
    /// lets it glide anew. Then shows `label` when an item is selected
    /// (`selected` ≥ 0) and it is not empty, else "empty.png". Only a
    /// rebuild allocates.
    void update(bool rebuild, const std::vector<CppLib::SharedPtr<Velta::TextureSource>>& icons, int selected,
                const CppLib::SharedPtr<Velta::TextureSource>& label);

    /// Moves the strip toward the slot of `selected` (−1: one slot left of
    /// the first), the further the longer since the last call: the gap
    /// shrinks by min(1, elapsed ms / 300 + 0.03). Within a hundredth of a
    /// pixel it arrives exactly and the strip stops changing.
    void scroll(long long timestamp, int selected);

    /// How far the strip has moved, in strip pixels (selected index × 94 at
    /// rest).
    float getScroll() const { return mScroll; }
    const CppLib::SharedPtr<Velta::TextureProxy>& getStrip() const { return mStrip; }
    /// The label quad's texture.
    const CppLib::SharedPtr<Velta::Texture2D>& getLabel() const { return mLabel; }
    const CppLib::SharedPtr<Velta::TextureSource>& getEmptyLabel() const { return mEmptyLabel; }
    /// The strip layer's vertices: texture unit 0 carries the strip's
    /// coordinates, units 1 and 2 (mask and frame) the panel's.
    Velta::VertexData& getStripVertices() { return *mStripVertices; }

    /// Where the panel hides what lies behind it, placed; none when its image
    /// is missing.
    const std::optional<Velta::Overlay::Area>& getOpaqueArea() const { return mOpaqueArea; }

private:
    void buildStrip(const std::vector<CppLib::SharedPtr<Velta::TextureSource>>& icons);

    CppLib::SharedPtr<Velta::TextureProxy> mStrip;
    CppLib::SharedPtr<Velta::Texture2D> mStripTexture;
    CppLib::SharedPtr<Velta::TextureSource> mEmptyLabel;
    CppLib::SharedPtr<Velta::Texture2D> mLabel;
    CppLib::SharedPtr<Velta::VertexData> mStripVertices;
    std::unique_ptr<Velta::GeometryObject> mPanelObject;
    std::unique_ptr<Velta::GeometryObject> mStripObject;
    std::unique_ptr<Velta::GeometryObject> mLabelObject;
    std::unique_ptr<Velta::Branch> mLayers;
    std::unique_ptr<Velta::TransformationNode> mNode;
    float mScroll = 0.0f;
    bool mScrollPending = true;
    long long mLastScroll = 0;
    std::optional<Velta::Overlay::Area> mOpaqueArea;
};

} // namespace Ripplejet
