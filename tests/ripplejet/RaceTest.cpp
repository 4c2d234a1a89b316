// The race without a window, on the real course from the generated data.
#include "RaceFixture.h"

#include "duck/Duck.h"
#include "duck/DuckModifier.h"
#include "race/Autopilot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

namespace {

using RipplejetTest::RaceFixture;

class Race : public RaceFixture {};

TEST_F(Race, Explore)
{
    const long long step = std::atoi(std::getenv("STEP") ? std::getenv("STEP") : "16");
    startRace(step);
    Ripplejet::Autopilot pilot(*race, *race->getPlayerModifier());
    for (int i = 0; i < 300000 / step && !race->isOver(); ++i) {
        pilot.update(now() + step);
        frame(now() + step);
        if (i % (10000 / step) == 0 && std::getenv("VERBOSE")) {
            const auto& p = race->getPlayerModifier()->getPosition();
            const auto& v = race->getPlayerModifier()->getVelocity();
            std::cout << i / 60 << "s target " << pilot.getTarget() << " pos " << p.x() << " " << p.y() << " "
                      << p.z() << " v " << v.x() << " " << v.y() << " " << v.z() << " health "
                      << race->getPlayerDuck()->getHealth() << " sub " << race->getPlayerModifier()->getSubmergedVolume() << "\n";
        }
    }
    std::cout << "health " << race->getPlayerDuck()->getHealth() << " over " << race->isOver() << " start " << race->getPlayerDuck()->getStartTime() << " finish "
              << race->getPlayerDuck()->getFinishTime() << "\n";
}

} // namespace
namespace {
TEST_F(Race, ExploreFloat)
{
    startRace();
    for (int i = 0; i < 10; ++i) {
        runFor(500);
        const auto& m = race->getPlayerModifier()->getOrientation();
        const auto& p = race->getPlayerModifier()->getPosition();
        std::cout << "pos " << p.x() << " " << p.y() << " " << p.z() << " X(" << m.get(0,0) << "," << m.get(1,0) << "," << m.get(2,0) << ") Y(" << m.get(0,1) << "," << m.get(1,1) << "," << m.get(2,1) << ") Z(" << m.get(0,2) << "," << m.get(1,2) << "," << m.get(2,2) << ") sub " << race->getPlayerModifier()->getSubmergedVolume() << "\n";
    }
}
}
