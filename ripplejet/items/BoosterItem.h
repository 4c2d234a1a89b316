#pragma once

#include "items/Item.h"
#include "particles/ParticleEngine.h"

#include <memory>

namespace Velta {
class GeometryObject;
class GeometrySubobject;
class TransformationNode;
} // namespace Velta

namespace Ripplejet {

/// A booster: carried, and when used pushes the duck forward for five
/// seconds with smoke behind it, then shrinks away while the smoke burns
/// out. Finished early, it takes its push and its smoke with it.
class BoosterItem : public Item {
public:
    static constexpr long long DURATION = 5000;

    BoosterItem();
    ~BoosterItem() override;

    bool hasLastingEffect() const override { return true; }
    bool activate(Duck& duck, long long timestamp) override;
    bool update(Duck& duck, long long timestamp) override;
    bool deactivate(Duck& duck, long long timestamp) override;
    std::string getParticleSprite(float& size) const override;

    /// The smoke behind the duck; null while none is made.
    Velta::TransformationNode* getSmokeNode() const { return mSmokeNode.get(); }
    const Velta::ParticleEngine& getSmoke() const { return mSmoke; }

private:
    void startSmoke(Duck& duck, long long timestamp);
    void removeSmoke();

    Velta::ParticleEngine mSmoke;
    std::unique_ptr<Velta::GeometryObject> mSmokeObject;
    Velta::GeometrySubobject* mSmokePoints = nullptr; ///< owned by the smoke object
    std::unique_ptr<Velta::TransformationNode> mSmokeNode;
    long long mStartTime = 0;
};

} // namespace Ripplejet
