#pragma once

#include "cpplib/Color.h"
#include "cpplib/SharedPtr.h"

#include <string>
#include <utility>
#include <vector>

namespace Velta {
class Branch;
class Light;
class Node;
class SoundChannel;
class Terrain;
class TransformationNode;
class Water;
} // namespace Velta

namespace Ripplejet {

class NodeStore;

/// Builds the course from its tables (see Course.h) below the level's
/// branch: the two lights, the terrain with its layers, the scenery with the
/// start and finish lines, the stones on the ground, the river, and the
/// looping music and water sounds. The river bed wholly under the water is
/// drawn with the water's colour in it, and the water is left out over it.
/// Only the height map, the textures, the models and the sounds come from
/// the data directories; whatever of them is missing is left out (the
/// managers say what), and the rest is built.
///
/// The nodes go into the store it is given; the terrain and the water live
/// as long as the store keeps them.
class CourseBuilder {
public:
    explicit CourseBuilder(NodeStore& nodes);

    void build(Velta::Branch& level);

    /// The terrain alone, from its height map and ground images.
    void buildTerrain(Velta::Branch& level);

    /// Null before build().
    Velta::Terrain* getTerrain() const { return mTerrain; }
    Velta::Water* getWater() const { return mWater; }

    /// What a window showing the course is cleared to: the sky's haze, so
    /// that where the sky's skirt ends, the void past the valley's edge
    /// looks like more of it.
    static Velta::Color getBackgroundColor();

    /// The looping sounds that play (empty without an audio device).
    const std::vector<CppLib::SharedPtr<Velta::SoundChannel>>& getLoops() const { return mLoops; }

private:
    void buildLights(Velta::Branch& level);
    /// The terrain but for building its grid (Terrain::Tile::updateTile).
    void setUpTerrain(Velta::Branch& level);
    /// Lays the water's colour over the river bed under it, then builds the
    /// terrain's grid.
    void coverRiverBed();
    /// The water's colour as the course's lights show it from above.
    Velta::Color getLitWaterColor() const;
    void buildScenery(Velta::Branch& level);
    void buildStones(Velta::Branch& level);
    void buildWater(Velta::Branch& level);
    void startLoops();

    /// A transformation node holding `child`, attached to `level`.
    Velta::TransformationNode& place(Velta::Node& child, Velta::Branch& level);
    /// A new object of the model `file`, kept in the store; null when the
    /// model cannot be made.
    Velta::Node* createModel(const std::string& file);

    NodeStore& mNodes;
    Velta::Terrain* mTerrain = nullptr;
    Velta::Water* mWater = nullptr;
    /// The lights and the nodes that place them.
    std::vector<std::pair<Velta::Light*, Velta::TransformationNode*>> mLights;
    std::vector<CppLib::SharedPtr<Velta::SoundChannel>> mLoops;
};

} // namespace Ripplejet
