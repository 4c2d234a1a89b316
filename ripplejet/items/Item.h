#pragma once

#include "cpplib/SharedPtr.h"
#include "scene/Group.h"

#include <memory>
#include <string>

namespace Velta {
class Geometry;
class GeometryObject;
class Node;
class SoundChannel;
class TextureSource;
class TransformationNode;
class VelocityModifier;
} // namespace Velta

namespace Ripplejet {

class Duck;
class SparkleMaterials;

/// Something to pick up along the river: it spins and sparkles in the
/// course until a duck touches it (the duck's query finds it by the node
/// property "type" = "item"). Then it is used at once or carried, and when
/// used runs an effect for a while, shown by a small copy of its model that
/// grows at the duck and shrinks away again.
///
/// An object node (node type OBJECT). The level owns it and the node that
/// places it; the item owns its model, its sparkles and its effect nodes, and
/// switches its spin off when it goes. Timestamps are the frame's, in ms.
class Item : public Velta::Group {
public:
    /// `model` is the model file; `icon` the image file shown in the
    /// display's item strip ("icons\" + icon) and as its label ("text\" +
    /// icon). Needs a set-up core.
    Item(const std::string& model, const std::string& icon);
    ~Item() override;

    /// Puts the model in the item, spinning half a turn a second, and the
    /// shared sparkle points `sparkles` around it (none when empty), drawn
    /// with the material `materials` keeps for the item's sprite.
    void setUp(const CppLib::SharedPtr<Velta::Geometry>& sparkles, SparkleMaterials& materials);

    /// Takes the item out of the course: the spin stops and the model and
    /// its sparkles go. Picking up again does nothing.
    void pickUp();
    bool isPickedUp() const { return mPickedUp; }

    const std::string& getModelName() const { return mModelName; }

    /// Images for the display; empty when the file is missing.
    virtual CppLib::SharedPtr<Velta::TextureSource> getIcon() const { return mIcon; }
    virtual CppLib::SharedPtr<Velta::TextureSource> getLabel() const { return mLabel; }

    /// True: the item is applied the moment it is touched, never carried.
    virtual bool isUsedOnContact() const { return false; }

    /// True when using the item starts an effect that runs for a while (and
    /// takes the place of a running one); false when it is done at once.
    virtual bool hasLastingEffect() const { return false; }

    /// Starts the item's effect on `duck`; true when it is finished at once.
    virtual bool activate(Duck& duck, long long timestamp) = 0;
    /// Moves the running effect on; true once it has ended.
    virtual bool update(Duck& duck, long long timestamp);
    /// Ends the effect (also early); true when the item is used up, false to
    /// put it back into the inventory.
    virtual bool deactivate(Duck& duck, long long timestamp);

    /// The image of the item's sparkles, and their size in pixels (left as
    /// given when the item has no size of its own).
    virtual std::string getParticleSprite(float& size) const;

    /// The effect node at the duck; null while none is shown.
    Velta::TransformationNode* getEffectNode() const { return mEffectNode.get(); }
    /// The sparkles around the item in the course; null without them.
    const Velta::GeometryObject* getSparkles() const { return mSparkles.get(); }
    bool isEffectRunning() const { return mEffectStart != 0; }
    bool isShrinking() const { return mShrinking; }

protected:
    /// Shows a copy of the model at the duck at (x, y, z) in the duck's
    /// axes, growing from nothing to `size` in `duration` ms from `timestamp`.
    void startEffect(Duck& duck, float x, float y, float z, float size, int duration, long long timestamp);
    /// Grows or shrinks the copy for `timestamp`, bobbing it by `bob`; true
    /// when a shrink has just ended.
    bool animateEffect(Duck& duck, float bob, long long timestamp);
    /// Starts shrinking the copy away from `timestamp` on.
    void shrinkEffect(long long timestamp);
    /// Takes the copy away from the duck.
    void removeEffect();

    /// The item's sound on channel `name` from the file `file`, made on first
    /// use; empty without it. Items carried are used by the player's duck,
    /// whose sounds are heard as they are; a positional sound is placed where
    /// it plays.
    const CppLib::SharedPtr<Velta::SoundChannel>& getSound(const char* file, const char* name, bool positional = false);

private:
    std::string mModelName;
    std::unique_ptr<Velta::Node> mModel;
    std::unique_ptr<Velta::TransformationNode> mModelNode;
    std::unique_ptr<Velta::GeometryObject> mSparkles;
    CppLib::SharedPtr<Velta::VelocityModifier> mSpin;
    CppLib::SharedPtr<Velta::TextureSource> mIcon;
    CppLib::SharedPtr<Velta::TextureSource> mLabel;
    CppLib::SharedPtr<Velta::SoundChannel> mSound;
    bool mSoundLoaded = false;
    bool mPickedUp = false;

    bool mShrinking = false;
    long long mEffectStart = 0;
    int mEffectDuration = 0;
    float mEffectX = 0.0f, mEffectY = 0.0f, mEffectZ = 0.0f;
    float mEffectSize = 0.0f;
    std::unique_ptr<Velta::Node> mEffectModel;
    std::unique_ptr<Velta::TransformationNode> mEffectNode;
};

} // namespace Ripplejet
