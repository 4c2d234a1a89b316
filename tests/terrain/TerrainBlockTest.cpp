#include "TerrainTestSupport.h"

#include "geometry/Geometry.h"
#include "support/AllocationCounter.h"
#include "support/CoreFixture.h"
#include "terrain/TerrainBlock.h"
#include "terrain/TerrainPatch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

using namespace Velta;
using namespace TerrainTest;

namespace {

using Triangle = std::array<unsigned int, 3>;

/// Every triangle one part of a block draws now.
std::vector<Triangle> drawnTriangles(const TerrainBlockPart& part)
{
    std::vector<Triangle> triangles;
    for (const GeometryElement* element : part.getElementList(0)) {
        forEachTriangle(*element, [&](unsigned int a, unsigned int b, unsigned int c) {
            triangles.push_back({a, b, c});
        });
    }
    return triangles;
}

/// Every triangle the block draws now, part by part.
std::vector<Triangle> drawnTriangles(const TerrainBlock& block)
{
    std::vector<Triangle> triangles;
    for (unsigned int part = 0; part < block.getPartCount(); ++part) {
        const std::vector<Triangle> more = drawnTriangles(block.getPart(part));
        triangles.insert(triangles.end(), more.begin(), more.end());
    }
    return triangles;
}

/// Twice the area of the triangle in the grid's (column, row) plane; positive
/// when it faces up (counter-clockwise seen from above).
long turn(const Triangle& t, unsigned int rowLength)
{
    const auto column = [rowLength](unsigned int i) { return static_cast<long>(i % rowLength); };
    const auto row = [rowLength](unsigned int i) { return static_cast<long>(i / rowLength); };
    return (row(t[1]) - row(t[0])) * (column(t[2]) - column(t[0])) -
           (column(t[1]) - column(t[0])) * (row(t[2]) - row(t[0]));
}

const unsigned int FULL[TerrainBlock::EDGE_COUNT] = {0, 0, 0, 0};
const Color GREY(0.5f, 0.5f, 0.5f, 1.0f);

using TerrainBlocks = VeltaTest::CoreFixture;

} // namespace

TEST_F(TerrainBlocks, EveryLevelCoversTheBlockFacingUpFromItsOwnVertices)
{
    // 13 × 16 quads: a width that is no multiple of 2 or 4 gives each level
    // a narrower last column.
    const unsigned int rowLength = 40;
    TerrainBlock block(rowLength, 3, 5, 16, 21);
    for (unsigned int level = 0; level < TerrainBlock::LEVELS; ++level) {
        const unsigned int same[TerrainBlock::EDGE_COUNT] = {level, level, level, level};
        block.select(level, same);
        long area = 0;
        const unsigned int step = 1u << level;
        for (const Triangle& t : drawnTriangles(block)) {
            EXPECT_GT(turn(t, rowLength), 0) << "level " << level;
            area += turn(t, rowLength);
            for (unsigned int corner : t) {
                const unsigned int column = corner % rowLength, row = corner / rowLength;
                EXPECT_TRUE((column - 3) % step == 0 || column == 16) << "level " << level;
                EXPECT_TRUE((row - 5) % step == 0 || row == 21) << "level " << level;
            }
        }
        EXPECT_EQ(area, 2 * 13 * 16) << "level " << level;
    }
    block.select(99, FULL);
    EXPECT_EQ(block.getLevel(), TerrainBlock::LEVELS - 1);
}

TEST_F(TerrainBlocks, SeamsLeaveNoCrackToAFinerNeighbour)
{
    // Two blocks side by side, then one above the other, drawn at every pair
    // of different levels: with the coarser block's seam, every edge inside
    // the pair is shared by exactly two triangles, so the surface is closed.
    const unsigned int rowLength = 33;
    struct Pair {
        TerrainBlock::Edge firstSide, secondSide;
        unsigned int secondLeft, secondTop, right, bottom;
    };
    const Pair pairs[] = {{TerrainBlock::RIGHT, TerrainBlock::LEFT, 16, 0, 32, 16},
                          {TerrainBlock::BOTTOM, TerrainBlock::TOP, 0, 16, 16, 32}};
    for (const Pair& pair : pairs) {
        for (unsigned int a = 0; a < TerrainBlock::LEVELS; ++a) {
            for (unsigned int b = 0; b < TerrainBlock::LEVELS; ++b) {
                TerrainBlock first(rowLength, 0, 0, 16, 16);
                TerrainBlock second(rowLength, pair.secondLeft, pair.secondTop, pair.right, pair.bottom);
                unsigned int firstNeighbours[TerrainBlock::EDGE_COUNT] = {a, a, a, a};
                unsigned int secondNeighbours[TerrainBlock::EDGE_COUNT] = {b, b, b, b};
                firstNeighbours[pair.firstSide] = b;
                secondNeighbours[pair.secondSide] = a;
                first.select(a, firstNeighbours);
                second.select(b, secondNeighbours);

                // Seams are drawn both ways round: count each triangle once.
                std::set<Triangle> triangles;
                for (const TerrainBlock* block : {&first, &second}) {
                    for (Triangle t : drawnTriangles(*block)) {
                        std::sort(t.begin(), t.end());
                        triangles.insert(t);
                    }
                }
                std::map<std::pair<unsigned int, unsigned int>, int> uses;
                for (const Triangle& t : triangles) {
                    ++uses[{t[0], t[1]}];
                    ++uses[{t[1], t[2]}];
                    ++uses[{t[0], t[2]}];
                }
                const auto onBorder = [&](unsigned int i, unsigned int j) {
                    const unsigned int ci = i % rowLength, ri = i / rowLength;
                    const unsigned int cj = j % rowLength, rj = j / rowLength;
                    return (ci == cj && (ci == 0 || ci == pair.right)) || (ri == rj && (ri == 0 || ri == pair.bottom));
                };
                for (const auto& [edge, count] : uses) {
                    EXPECT_EQ(count, onBorder(edge.first, edge.second) ? 1 : 2)
                        << "levels " << a << " and " << b << ", edge " << edge.first << "–" << edge.second;
                }
            }
        }
    }
}

TEST_F(TerrainBlocks, QuadsSortedByTheirCoatsDrawTheSameTrianglesInParts)
{
    // Coats by the quad's first column: all three left of column 6, the
    // base alone from column 10 on, base and first layer between; a coarse
    // quad straddling two kinds shows the first one. The parts together
    // draw the unsorted block's triangles, each in its own material.
    const unsigned int rowLength = 40;
    const unsigned int ALL = 7;
    const auto coatsOf = [](unsigned int left, unsigned int, unsigned int, unsigned int) {
        return left < 6 ? 7u : left < 10 ? 3u : 1u;
    };
    TerrainBlock sorted(rowLength, 3, 5, 16, 21);
    const unsigned int neighbours[TerrainBlock::EDGE_COUNT] = {0, 2, 1, 2};
    sorted.select(2, neighbours);
    sorted.sortQuads(coatsOf, ALL);
    EXPECT_EQ(sorted.getLevel(), 2u) << "sorting keeps the selection";
    ASSERT_EQ(sorted.getPartCount(), 3u);
    EXPECT_EQ(sorted.getPart(0).getMaterialIndex(), 0u);
    EXPECT_EQ(sorted.getPart(1).getMaterialIndex(), 4u);
    EXPECT_EQ(sorted.getPart(2).getMaterialIndex(), 6u);

    TerrainBlock whole(rowLength, 3, 5, 16, 21);
    for (unsigned int level = 0; level < TerrainBlock::LEVELS; ++level) {
        const unsigned int finer[TerrainBlock::EDGE_COUNT] = {0, 0, 0, 0};
        sorted.select(level, finer);
        whole.select(level, finer);
        std::multiset<Triangle> expected;
        for (const Triangle& t : drawnTriangles(whole)) {
            expected.insert(t);
        }
        std::multiset<Triangle> drawn;
        for (unsigned int part = 0; part < sorted.getPartCount(); ++part) {
            for (const Triangle& t : drawnTriangles(sorted.getPart(part))) {
                drawn.insert(t);
                const unsigned int column = std::min({t[0], t[1], t[2]}) % rowLength;
                const unsigned int leftOut = ALL & ~coatsOf(column, 0, 0, 0);
                if (turn(t, rowLength) != 0) {
                    EXPECT_EQ(sorted.getPart(part).getMaterialIndex(), leftOut) << "level " << level;
                }
            }
        }
        EXPECT_EQ(drawn, expected) << "level " << level;
        // The seams toward finer neighbours come with the whole material.
        if (level > 0) {
            EXPECT_GT(drawnTriangles(sorted.getPart(0)).size(), 0u);
            EXPECT_EQ(sorted.getPart(0).getElementList(0).getSize(),
                      whole.getPart(0).getElementList(0).getSize());
        }
    }
}

TEST_F(TerrainBlocks, ErrorsMeasureWhatEachLevelLeavesOut)
{
    using Sample = TerrainBlock::Sample;
    const struct {
        const char* ground;
        Sample (*sample)(unsigned int column, unsigned int row);
        float errors[TerrainBlock::LEVELS];
    } cases[] = {
        // A sloping plane: every level draws it exactly.
        {"plane", [](unsigned int c, unsigned int r) { return Sample{0.5f * c - 0.25f * r + 3.0f, GREY}; }, {0, 0, 0}},
        // A spike on an odd vertex: gone from every coarser level.
        {"odd spike", [](unsigned int c, unsigned int r) { return Sample{c == 5 && r == 7 ? -4.0f : 1.0f, GREY}; },
         {0, 5, 5}},
        // A spike on a vertex every level keeps: the coarse triangles around
        // it are wider, so they stray over its neighbours: by half its height
        // at level 1, by three quarters at level 2.
        {"kept spike", [](unsigned int c, unsigned int r) { return Sample{c == 8 && r == 8 ? 8.0f : 0.0f, GREY}; },
         {0, 4, 6}},
        // On flat ground, where the grass ends (the colour's alpha, a blend
        // weight) counts by how much the drawn alpha misses (half, next to
        // the edge) times the width of the level's quads (4 and 8 units).
        {"grass edge", [](unsigned int c, unsigned int) { return Sample{0.0f, Color(1, 1, 1, c < 7 ? 0.0f : 1.0f)}; },
         {0, 0.5f * 4, 0.5f * 8}},
    };
    TerrainBlock block(17, 0, 0, 16, 16);
    for (const auto& ground : cases) {
        block.measureErrors(ground.sample, 2.0f);
        for (unsigned int level = 0; level < TerrainBlock::LEVELS; ++level) {
            EXPECT_NEAR(block.getError(level), ground.errors[level], 1e-5f) << ground.ground << ", level " << level;
        }
    }
}

using TerrainDetail = VeltaTest::CoreFixture;

TEST_F(TerrainDetail, FarBlocksDropToCoarserLevelsWithoutAllocating)
{
    // 64 vertices on a 128-unit tile, a little rough at every vertex: 4 × 4
    // blocks.
    OneTile rough(makeHeightMap(64, [](unsigned x, unsigned y) { return (x + y) % 2; }), 6, 128.0f);
    rough.tile->updateTile();
    Terrain::Patch& patch = *rough.terrain.getPatch(0);
    ASSERT_EQ(patch.getBlocksPerRow(), 4u);
    ASSERT_EQ(patch.getBlockRows(), 4u);
    EXPECT_EQ(patch.getBlock(4, 0), nullptr);
    const float roughness = patch.getBlock(0, 0)->getError(1);
    ASSERT_GT(roughness, 0.0f);

    VeltaTest::AllocationCounter allocations;
    // Standing on the first block: it stays in full; beyond where the
    // tolerance allows the roughness, the blocks drop to the coarsest level.
    patch.selectDetail(Point(1.0f, 1.0f, 1.0f));
    const float coarseFrom = patch.getBlock(3, 3)->getError(TerrainBlock::LEVELS - 1) / Terrain::Patch::DETAIL_TOLERANCE;
    EXPECT_EQ(patch.getBlock(0, 0)->getLevel(), 0u);
    int coarse = 0;
    for (unsigned int row = 0; row < 4; ++row) {
        for (unsigned int column = 0; column < 4; ++column) {
            const float nearX = column * 32.0f, nearZ = row * 32.0f;
            const float farEnough = std::hypot(nearX - 1.0f, nearZ - 1.0f) > coarseFrom + 1.0f;
            if (farEnough) {
                EXPECT_EQ(patch.getBlock(column, row)->getLevel(), TerrainBlock::LEVELS - 1) << column << ", " << row;
                ++coarse;
            }
        }
    }
    EXPECT_GE(coarse, 10);
    // From far above everything is coarse; from beside it, in full again.
    patch.selectDetail(Point(64.0f, 1e6f, 64.0f));
    EXPECT_EQ(patch.getBlock(1, 2)->getLevel(), TerrainBlock::LEVELS - 1);
    patch.selectDetail(Point(64.0f, 1.0f, 64.0f));
    EXPECT_EQ(patch.getBlock(1, 1)->getLevel(), 0u);
    EXPECT_EQ(allocations.getCount(), 0u);
}
