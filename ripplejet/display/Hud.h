#pragma once

// Placeholder with the display's interface until the display lands.
#include "cpplib/SharedPtr.h"

#include <memory>
#include <vector>

namespace Velta {
class Branch;
class TextureProxy;
class TextureSource;
} // namespace Velta

namespace Ripplejet {

class Hud {
public:
    Hud();
    ~Hud();
    Velta::Branch& build(int health, int oxygen);
    void showTime(long long) {}
    void showHealth(int) {}
    void showOxygen(int) {}
    void showBonus(int) {}
    void setSpeedBar(float) {}
    void setSpeedometer(float) {}
    void updateItemDisplay(bool, const std::vector<CppLib::SharedPtr<Velta::TextureSource>>&, int,
                           const CppLib::SharedPtr<Velta::TextureSource>&)
    {
    }
    void scrollItemStrip(long long, int) {}

private:
    std::unique_ptr<Velta::Branch> mBranch;
};

} // namespace Ripplejet
