#include "TerrainTestSupport.h"

#include "terrain/TerrainCoverage.h"

#include <vector>

using namespace Velta;
using TerrainTest::makeHeightMap;
using TerrainTest::makeImage;

namespace {

constexpr unsigned int BASE = 1, FIRST = 2, SECOND = 4;

/// 9 × 9 vertices (8 × 8 quads) over a base map, the first layer weighted by
/// the vertices: 1 in columns 0 … 3, 0 from column 5 on, half in column 4.
TerrainCoverage grassOnTheLeft(unsigned int layers)
{
    TerrainCoverage coverage;
    coverage.reset(9, true, layers);
    std::vector<float> weights;
    for (unsigned int row = 0; row < 9; ++row) {
        for (unsigned int column = 0; column < 9; ++column) {
            weights.push_back(column < 4 ? 1.0f : column == 4 ? 0.5f : 0.0f);
        }
    }
    coverage.setVertexWeights(0, weights);
    return coverage;
}

} // namespace

TEST(TerrainCoverage, VertexWeightsLeaveOutALayerOfNoWeightAndWhatAFullOneHides)
{
    TerrainCoverage coverage = grassOnTheLeft(1);
    EXPECT_EQ(coverage.getCoats(0, 0, 1, 1), FIRST);          // all grass: the base is hidden
    EXPECT_EQ(coverage.getCoats(6, 2, 7, 3), BASE);           // no grass
    EXPECT_EQ(coverage.getCoats(3, 0, 4, 1), BASE | FIRST);   // its right corners are half grass
    EXPECT_EQ(coverage.getCoats(4, 0, 5, 1), BASE | FIRST);
    // A coarse quad is drawn between its corners only: from column 2 to 6
    // the weights run 1 to 0 whatever lies between.
    EXPECT_EQ(coverage.getCoats(0, 0, 2, 2), FIRST);
    EXPECT_EQ(coverage.getCoats(2, 0, 6, 4), BASE | FIRST);
    EXPECT_EQ(coverage.getCoats(5, 0, 8, 8), BASE);

    // Nothing tracked: every coat, everywhere.
    coverage.clear(BASE | FIRST | SECOND);
    EXPECT_EQ(coverage.getCoats(0, 0, 1, 1), BASE | FIRST | SECOND);
}

TEST(TerrainCoverage, ImageWeightsReachAsFarAsTheFilterWithATexelToSpareAndWrapAround)
{
    // The second layer, over the grass, is full in the image's rows 0 … 6
    // and absent below, in a 16 × 16 image over 8 × 8 quads (two texels a
    // quad). Quad row r reads texel rows 2r − 1 … 2r + 2 at most; with one
    // to spare 2r − 2 … 2r + 3.
    TerrainCoverage coverage = grassOnTheLeft(2);
    coverage.setImageWeights(1, *makeHeightMap(16, [](unsigned int, unsigned int y) { return y < 7 ? 255 : 0; }),
                             TerrainCoverage::COLOUR);
    EXPECT_EQ(coverage.getCoats(6, 1, 7, 2), SECOND);            // hides the grass and the base
    EXPECT_EQ(coverage.getCoats(6, 2, 7, 3), SECOND | BASE);     // reaches row 7 with the spare
    EXPECT_EQ(coverage.getCoats(0, 3, 1, 4), SECOND | FIRST);
    EXPECT_EQ(coverage.getCoats(6, 5, 7, 6), BASE);              // rows 8 … 13: none of it
    // Row 0 reads the image's last rows too, as a repeated texture does.
    EXPECT_EQ(coverage.getCoats(6, 0, 7, 1), SECOND | BASE);
    EXPECT_EQ(coverage.getCoats(6, 7, 7, 8), SECOND | BASE);
    // A block of quads shows what any of its quads shows.
    EXPECT_EQ(coverage.getCoats(5, 4, 8, 8), SECOND | BASE);
}

TEST(TerrainCoverage, ChannelsAndImagesThatCannotBeReadShowPartlyEverywhere)
{
    TerrainCoverage coverage = grassOnTheLeft(2);
    // By alpha: an opaque RGB image is full everywhere, whatever its colour.
    coverage.setImageWeights(1, *makeImage(1, 1, {0, 0, 0}, Color::RGB), TerrainCoverage::ALPHA);
    EXPECT_EQ(coverage.getCoats(6, 6, 7, 7), SECOND);
    // By colour: black is none of it; one channel above 0 shows it.
    coverage.setImageWeights(1, *makeImage(1, 1, {0, 0, 0}, Color::RGB), TerrainCoverage::COLOUR);
    EXPECT_EQ(coverage.getCoats(6, 6, 7, 7), BASE);
    coverage.setImageWeights(1, *makeImage(1, 1, {0, 0, 1}, Color::RGB), TerrainCoverage::COLOUR);
    EXPECT_EQ(coverage.getCoats(6, 6, 7, 7), SECOND | BASE);
    // An alpha-only image has no colour to blend by (OpenGL reads it as
    // black where its pixels read white), and an empty image nothing.
    for (const auto& image : {makeImage(1, 1, {255}, Color::SINGLE_CHANNEL), makeImage(0, 0, {})}) {
        coverage.setImageWeights(1, *image, TerrainCoverage::COLOUR);
        EXPECT_EQ(coverage.getCoats(0, 0, 1, 1), SECOND | FIRST);
        EXPECT_EQ(coverage.getCoats(6, 6, 7, 7), SECOND | BASE);
    }
}
