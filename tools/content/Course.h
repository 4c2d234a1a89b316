#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace VeltaTools {

/// The fixed race course the game builds in code: where the river runs,
/// where the props stand, and how the terrain turns its height map into
/// world heights. The generator carves the height map to fit these numbers.
namespace Course {

/// World units along one edge of the terrain's single tile.
constexpr float TILE_SIZE = 512.0f;
/// Height of a height-map byte of 255 (a byte of 0 is height 0).
constexpr float MAX_HEIGHT = 60.0f;
/// Samples per edge of the height map.
constexpr int HEIGHTMAP_SIZE = 256;

struct Point3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

/// One line across the river: left and right bank points at the water level.
struct CrossSection {
    Point3 left;
    Point3 right;
    float flow = 0.0f;
};

/// A prop placed at a fixed point (the course's scenery and start/finish props).
struct Prop {
    std::string model;
    Point3 position;
    float scaleX = 1.0f, scaleY = 1.0f, scaleZ = 1.0f;
    float rotateY = 0.0f;
};

/// A stone: placed at the terrain height of (x, z).
struct Stone {
    float scaleX, scaleY, scaleZ, rotateY, x, z;
};

/// The 58 cross sections from the start to the finish.
const std::vector<CrossSection>& crossSections();
/// Every prop with a fixed position, the sky first.
const std::vector<Prop>& props();
const std::vector<Stone>& stones();

/// Whether the engine's terrain answers for world (x, z): its one tile
/// covers 0 ≤ x < TILE_SIZE and 0 ≤ z < TILE_SIZE (the far edge is drawn,
/// but belongs to no tile).
bool onTerrain(float x, float z);
/// Height of the terrain at world (x, z), as the engine samples it: the map
/// is stretched over the tile so that sample i lies at i × TILE_SIZE / 255,
/// and each square between samples is split along its (i, j)–(i+1, j+1)
/// diagonal into two triangles, on which the height is interpolated linearly.
/// Off the terrain (see onTerrain) there is no ground: −1, the height of the
/// engine's surface point there.
float terrainHeight(const std::vector<std::uint8_t>& heightMap, float x, float z);
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
