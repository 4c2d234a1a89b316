#include "display/Hud.h"

#include "scene/Branch.h"

namespace Ripplejet {

Hud::Hud() = default;
Hud::~Hud() = default;

Velta::Branch& Hud::build(int, int)
{
    if (!mBranch) {
        mBranch = std::make_unique<Velta::Branch>("hud");
    }
    return *mBranch;
}

} // namespace Ripplejet
