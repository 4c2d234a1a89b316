#pragma once

#include "course/Course.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VeltaTools {

/// The generator's view of the game's course (its tables are the game's):
/// where the height map's samples lie, and the water quads between the cross
/// sections as plain geometry the generator carves the height map with. The
/// generator runs without the engine, whose water answers no distances to a
/// quad's outline; what the terrain makes of the map is the engine's own
/// (the tests hold the two together).
namespace Course {

using Ripplejet::Course::CrossSection;
using Ripplejet::Course::crossSections;
using Ripplejet::Course::HEIGHTMAP_SIZE;
using Ripplejet::Course::MAX_HEIGHT;
using Ripplejet::Course::Point3;
using Ripplejet::Course::Prop;
using Ripplejet::Course::props;
using Ripplejet::Course::Stone;
using Ripplejet::Course::stones;
using Ripplejet::Course::TILE_SIZE;

/// World x (or z) of height-map sample i.
float samplePosition(int i);

/// A quad of the water surface between two consecutive cross sections.
class WaterQuad {
public:
    WaterQuad(const CrossSection& upstream, const CrossSection& downstream);

    /// The quad's own coordinates of (x, z): u across from the left bank (0)
    /// to the right bank (1), v along from the upstream (0) to the downstream
    /// section (1). Returns false when the point is outside 0..1 on either.
    bool locate(float x, float z, float& u, float& v) const;
    /// Water height at the quad's coordinates (u, v).
    float surfaceHeight(float u, float v) const;
    /// True when the upstream and downstream lines keep the quad convex and
    /// unfolded (the water reports folded quads as invalid).
    bool isValid() const { return mValid; }
    /// Distance from (x, z) to the quad's outline (0 inside).
    float distance(float x, float z) const;
    /// True when (x, z) lies inside the outline A, B, D, C.
    bool contains(float x, float z) const;
    /// Water height at the outline point nearest to (x, z).
    float nearestSurfaceHeight(float x, float z) const;

private:
    void map(float x, float z, float& s, float& t) const;

    Point3 mA, mB, mC, mD;
    float mK1 = 0.0f, mK2 = 0.0f;
    bool mValid = true;
};

/// The 57 water quads in river order.
std::vector<WaterQuad> waterQuads();

} // namespace Course

} // namespace VeltaTools
