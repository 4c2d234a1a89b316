#pragma once

#include <string>
#include <vector>

namespace Ripplejet {

/// The race course written down once: the terrain's size, where the river
/// runs and how fast, where the scenery, the stones, the items and the ducks
/// stand. Plain numbers with no engine behind them, so that the game, the
/// content generator (which carves the height map to fit the river), the
/// tests and the benchmarks all read the same table.
///
/// World units; angles in radians; the terrain's one tile covers
/// 0 ≤ x, z < TILE_SIZE.
namespace Course {

/// World units along one edge of the terrain's single tile.
constexpr float TILE_SIZE = 512.0f;
/// Height of a height-map byte of 255 (a byte of 0 is height 0).
constexpr float MAX_HEIGHT = 60.0f;
/// Samples per edge of the height map.
constexpr int HEIGHTMAP_SIZE = 256;
/// The terrain's patch detail (2^8 quads a patch edge) and detail levels:
/// one patch of 256 × 256 vertices.
constexpr unsigned int PATCH_DETAIL = 8;
constexpr unsigned int PATCH_LEVELS = 0;
/// How often the ground's textures repeat across the tile.
constexpr float ROCK_SCALE = 10.0f;
constexpr float GRASS_SCALE = 15.0f;
constexpr float RIVER_SCALE = 20.0f;
/// The light map is the slope map × LIGHT_SCALE + LIGHT_OFFSET.
constexpr float LIGHT_SCALE = 0.4f;
constexpr float LIGHT_OFFSET = 0.6f;

/// A colour by its red, green and blue bytes.
struct Rgb {
    unsigned char r = 0, g = 0, b = 0;
};
/// The sky's haze below the horizon. The sky's skirt ends a little below
/// it, and the game's window is cleared in the same colour, so that the void
/// past the valley's edge looks like more of the skirt.
constexpr Rgb SKY_HAZE = {170, 190, 206};

struct Point3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

/// One line across the river: the left and right bank points at the water
/// level (both at one height), and the flow across the line in units per
/// second (negative: back toward the start).
struct CrossSection {
    Point3 left;
    Point3 right;
    float flow = 0.0f;
};

/// A model placed at a fixed point: scaled, turned about y, moved to its
/// position. `type` names the start and finish lines ("start", "finish")
/// that the duck's query looks for; empty for plain scenery.
struct Prop {
    std::string model;
    Point3 position;
    float scaleX = 1.0f, scaleY = 1.0f, scaleZ = 1.0f;
    float rotateY = 0.0f;
    std::string type;
};

/// A stone: scaled, turned, and stood on the ground at (x, z).
struct Stone {
    float scaleX, scaleY, scaleZ, rotateY, x, z;
};

/// An item in the course. `type` is "health", "oxygen", "booster" or
/// "bonus". For `onGround` items y is the height above the terrain at
/// (x, z); otherwise the world height.
struct ItemPlace {
    std::string type;
    float x, y, z;
    float scale;
    bool onGround;
};

/// A computer duck: its name (which selects its model) and where it is put
/// on the river at DUCK_DROP_HEIGHT.
struct DuckPlace {
    std::string name;
    float x, z;
};

/// The 58 cross sections from the start to the finish, each with its banks
/// in the table's order.
const std::vector<CrossSection>& crossSections();
/// Every model with a fixed place, in the order the level builds them: the
/// sky first, then the start area, the buoys and houses, the finish.
const std::vector<Prop>& props();
/// The twelve stones.
const std::vector<Stone>& stones();
/// The 56 items: 8 health, 5 oxygen, 9 boosters, 34 bonus bananas.
const std::vector<ItemPlace>& items();
/// The nine computer ducks.
const std::vector<DuckPlace>& ducks();

/// The sky dome's model: scaled and turned upside down about x instead of
/// about y, and drawn unlit.
constexpr const char* SKY_MODEL = "sky.ms3d";
constexpr const char* STONE_MODEL = "stone1.ms3d";

/// The player's duck and where it waits for the start.
constexpr const char* PLAYER_DUCK = "mallard";
constexpr Point3 PLAYER_START{73.0f, 41.0f, 104.0f};
/// Where the camera's follow point starts, and its heading (about y).
constexpr Point3 FOLLOW_START{75.0f, 40.0f, 150.0f};
constexpr float FOLLOW_START_HEADING = 1.5707964f;
/// Where r puts the duck back, with the follow point and heading it takes.
constexpr Point3 RESET_POINT{71.2f, 41.0f, 104.0f};
constexpr Point3 RESET_FOLLOW{71.2f, 55.0f, 150.0f};
constexpr float RESET_HEADING = 3.1415927f;
/// Where c puts the duck, near the finish, and its follow point.
constexpr Point3 NEAR_FINISH_POINT{450.2f, 23.0f, 215.0f};
constexpr Point3 NEAR_FINISH_FOLLOW{450.2f, 24.0f, 20.0f};
/// Computer ducks are dropped onto the river from this height.
constexpr float DUCK_DROP_HEIGHT = 30.0f;

} // namespace Course

} // namespace Ripplejet
