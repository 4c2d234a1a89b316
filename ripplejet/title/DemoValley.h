#pragma once

#include <memory>

namespace Velta {
class Branch;
class Terrain;
class TransformationNode;
class Water;
} // namespace Velta

namespace Ripplejet {

/// The ground of the title scene: a valley 256 units square around the
/// origin with a river winding along x through it, its bed under a flowing
/// water surface, grassy banks and hills that close the view at both ends.
/// Heights, the colour map and the river bed's outline are made here; the
/// textures come from the game data.
///
/// Owns the terrain and the water. Build while the engine runs.
class DemoValley {
public:
    /// Height of the water's surface, and of the flat tops of the banks.
    static constexpr float WATER_LEVEL = 0.1f;
    static constexpr float BANK_HEIGHT = 0.5f;
    /// From the river's centre line (along z): the bed, level below the
    /// water, and where the banks reach their tops.
    static constexpr float BED_HALF_WIDTH = 4.5f;
    static constexpr float BANK_TOP = 7.5f;

    DemoValley();
    ~DemoValley();

    DemoValley(const DemoValley&) = delete;
    DemoValley& operator=(const DemoValley&) = delete;

    /// Builds the terrain and the water below `root`.
    void build(Velta::Branch& root);

    /// z of the river's centre line at x.
    static float getRiverCentre(float x);
    /// The ground's height at (x, z), as the terrain is built from it (the
    /// terrain stores it to about a tenth of a unit).
    static float getGroundHeight(float x, float z);

    /// Null before build().
    Velta::Terrain* getTerrain() const { return mTerrain.get(); }
    Velta::Water* getWater() const { return mWater.get(); }

private:
    void buildTerrain(Velta::Branch& root);
    void buildWater(Velta::Branch& root);

    std::unique_ptr<Velta::Terrain> mTerrain;
    std::unique_ptr<Velta::TransformationNode> mTerrainPlace;
    std::unique_ptr<Velta::Water> mWater;
};

} // namespace Ripplejet
