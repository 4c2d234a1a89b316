#pragma once

#include "cpplib/SharedPtr.h"

#include <memory>
#include <string>

namespace Velta {
class GeometryObject;
class Material;
class Overlay;
class Texture2D;
class TransformationNode;
} // namespace Velta

namespace Ripplejet {

/// The sign in the middle of the screen that tells the player what happens
/// ("ready", "go", "yes", "game over"): one image on a quad of the camera's
/// overlay, which can be faded.
///
/// Owns its nodes; borrows the overlay, which must outlive it while shown.
class RaceMessage {
public:
    RaceMessage();
    ~RaceMessage();

    RaceMessage(const RaceMessage&) = delete;
    RaceMessage& operator=(const RaceMessage&) = delete;

    /// The overlay to show it on; null hides it for good.
    void setOverlay(Velta::Overlay* overlay);

    /// Shows the image file `image` (in the textures directory), fully
    /// opaque.
    void show(const std::string& image);
    /// Reads the image file `image` now and keeps it, so that showing it
    /// later reads no file: the sign at the finish appears without a stall,
    /// and the memory it takes is taken before the race, not in it.
    static void preload(const std::string& image);
    void hide();
    bool isShown() const;
    /// 1 opaque, 0 invisible.
    void setOpacity(float opacity);
    float getOpacity() const { return mOpacity; }
    /// The image shown last (empty before the first).
    const std::string& getImage() const { return mImage; }

    Velta::TransformationNode& getNode() const { return *mNode; }

private:
    Velta::Overlay* mOverlay = nullptr;
    CppLib::SharedPtr<Velta::Texture2D> mTexture;
    CppLib::SharedPtr<Velta::Material> mMaterial;
    std::unique_ptr<Velta::GeometryObject> mObject;
    std::unique_ptr<Velta::TransformationNode> mNode;
    std::string mImage;
    float mOpacity = 1.0f;
};

} // namespace Ripplejet
