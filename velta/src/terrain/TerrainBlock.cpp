#include "terrain/TerrainBlock.h"

#include "geometry/IndexedTriangleStrip.h"
#include "geometry/IndexedTriangles.h"

#include <iterator>

#include <algorithm>
#include <cmath>

namespace Velta {

namespace {

/// The position after `position` at `level` between `first` and `last`:
/// every 2^level-th from `first`, and `last` itself.
unsigned int nextPosition(unsigned int position, unsigned int level, unsigned int last)
{
    return std::min(position + (1u << level), last);
}

/// Positions from `first` to `last` at `level`, counted.
unsigned int countPositions(unsigned int first, unsigned int last, unsigned int level)
{
    const unsigned int step = 1u << level;
    return (last - first + step - 1) / step + 1;
}

} // namespace

TerrainBlock::TerrainBlock(unsigned int rowLength, unsigned int left, unsigned int top, unsigned int right,
                           unsigned int bottom)
    : mRowLength(rowLength), mLeft(left), mTop(top), mRight(right), mBottom(bottom)
{
    for (unsigned int edge = 0; edge < EDGE_COUNT; ++edge) {
        for (unsigned int coarse = 1; coarse < LEVELS; ++coarse) {
            for (unsigned int fine = 0; fine < coarse; ++fine) {
                buildSeam(static_cast<Edge>(edge), coarse, fine);
            }
        }
    }
    mSeamsDrawn.reserve(EDGE_COUNT);
    sortQuads(CoatsOf(), 0);
}

TerrainBlock::~TerrainBlock()
{
    for (auto& edge : mSeams) {
        for (auto& coarse : edge) {
            for (IndexElementData* seam : coarse) {
                delete seam;
            }
        }
    }
}

void TerrainBlock::setBounds(const BoundingBox& bounds)
{
    mBounds = bounds;
    mHasBounds = bounds.getState() != BoundingVolume::EMPTY;
}

void TerrainBlock::measureErrors(const SampleAt& sample, float spacing)
{
    std::vector<Sample> samples;
    samples.reserve(static_cast<size_t>(mRight - mLeft + 1) * (mBottom - mTop + 1));
    for (unsigned int row = mTop; row <= mBottom; ++row) {
        for (unsigned int column = mLeft; column <= mRight; ++column) {
            samples.push_back(sample(column, row));
        }
    }
    for (unsigned int level = 1; level < LEVELS; ++level) {
        float error = 0.0f;
        for (unsigned int top = mTop; top < mBottom; top = nextPosition(top, level, mBottom)) {
            const unsigned int bottom = nextPosition(top, level, mBottom);
            for (unsigned int left = mLeft; left < mRight; left = nextPosition(left, level, mRight)) {
                const unsigned int right = nextPosition(left, level, mRight);
                error = std::max(error, measureQuad(samples, left, top, right, bottom, spacing));
            }
        }
        mErrors[level] = error;
    }
}

float TerrainBlock::measureQuad(const std::vector<Sample>& samples, unsigned int left, unsigned int top,
                                unsigned int right, unsigned int bottom, float spacing) const
{
    const unsigned int width = mRight - mLeft + 1;
    const auto at = [&](unsigned int column, unsigned int row) -> const Sample& {
        return samples[(row - mTop) * width + (column - mLeft)];
    };
    // The quad's two triangles, split along its (left, top)–(right, bottom)
    // diagonal like every quad of the strips, interpolate corner values.
    const Sample& topLeft = at(left, top);
    const Sample& topRight = at(right, top);
    const Sample& bottomLeft = at(left, bottom);
    const Sample& bottomRight = at(right, bottom);
    const float quadWidth = static_cast<float>(std::max(right - left, bottom - top)) * spacing;
    float error = 0.0f;
    for (unsigned int row = top; row <= bottom; ++row) {
        const float v = static_cast<float>(row - top) / static_cast<float>(bottom - top);
        for (unsigned int column = left; column <= right; ++column) {
            const float u = static_cast<float>(column - left) / static_cast<float>(right - left);
            const auto drawn = [&](auto value) {
                return u >= v ? value(topLeft) + u * (value(topRight) - value(topLeft)) +
                                    v * (value(bottomRight) - value(topRight))
                              : value(topLeft) + v * (value(bottomLeft) - value(topLeft)) +
                                    u * (value(bottomRight) - value(bottomLeft));
            };
            const Sample& here = at(column, row);
            const auto gap = [&](auto value) { return std::abs(value(here) - drawn(value)); };
            const float colourGap = std::max({gap([](const Sample& s) { return s.color.r; }),
                                              gap([](const Sample& s) { return s.color.g; }),
                                              gap([](const Sample& s) { return s.color.b; }),
                                              gap([](const Sample& s) { return s.color.a; })});
            error = std::max({error, gap([](const Sample& s) { return s.height; }), colourGap * quadWidth});
        }
    }
    return error;
}

void TerrainBlock::select(unsigned int level, const unsigned int (&neighbourLevels)[EDGE_COUNT])
{
    mLevel = std::min(level, LEVELS - 1);
    std::copy(std::begin(neighbourLevels), std::end(neighbourLevels), mNeighbourLevels);
    mSeamsDrawn.clear();
    for (unsigned int edge = 0; edge < EDGE_COUNT; ++edge) {
        if (neighbourLevels[edge] < mLevel) {
            mSeamsDrawn.append(mSeams[edge][mLevel][neighbourLevels[edge]]);
        }
    }
    mParts.front()->show(mLevel, mSeamsDrawn);
    for (size_t part = 1; part < mParts.size(); ++part) {
        mParts[part]->show(mLevel, mNoSeams);
    }
}

void TerrainBlock::sortQuads(const CoatsOf& coatsOf, unsigned int allCoats)
{
    mParts.clear();
    mParts.push_back(std::make_unique<TerrainBlockPart>(*this, 0));
    for (unsigned int level = 0; level < LEVELS; ++level) {
        for (const auto& [coats, indices] : buildStrips(level, coatsOf, allCoats)) {
            auto* strip = new IndexedTriangleStrip(static_cast<unsigned int>(indices.size()));
            for (unsigned int index : indices) {
                strip->addVertice(index);
            }
            partLeavingOut(allCoats & ~coats).setStrip(level, strip);
        }
    }
    select(mLevel, mNeighbourLevels);
}

TerrainBlockPart& TerrainBlock::partLeavingOut(unsigned int leftOut)
{
    for (const auto& part : mParts) {
        if (part->getLeftOut() == leftOut) {
            return *part;
        }
    }
    mParts.push_back(std::make_unique<TerrainBlockPart>(*this, leftOut));
    return *mParts.back();
}

TerrainBlock::Strips TerrainBlock::buildStrips(unsigned int level, const CoatsOf& coatsOf, unsigned int allCoats) const
{
    // Each strip runs along the rows, from the block's last pair of rows up
    // to its first, each pair from the left column to the right one, taking
    // the lower row's vertex before the upper row's: every quad is split
    // along its (column, row)–(column + 1, row + 1) diagonal, and a vertex
    // shared by two pairs of rows comes up again while a renderer that keeps
    // recent vertices still has it. A pair of rows is cut where the coats
    // change, and each run of quads goes to the strip of its coats.
    Strips strips;
    const auto stripOf = [&strips](unsigned int coats) -> std::vector<unsigned int>& {
        for (auto& [stripCoats, indices] : strips) {
            if (stripCoats == coats) {
                return indices;
            }
        }
        strips.emplace_back(coats, std::vector<unsigned int>());
        return strips.back().second;
    };
    const unsigned int pairs = countPositions(mTop, mBottom, level) - 1;
    // Rows from the last: the last step may be narrower than the others.
    unsigned int lower = mBottom;
    for (unsigned int pair = pairs; pair-- > 0;) {
        const unsigned int upper = mTop + pair * (1u << level);
        unsigned int runFrom = mLeft;
        unsigned int runCoats = allCoats;
        for (unsigned int column = mLeft; column < mRight;) {
            const unsigned int next = nextPosition(column, level, mRight);
            const unsigned int coats = coatsOf ? coatsOf(column, upper, next, lower) & allCoats : allCoats;
            if (column != mLeft && coats != runCoats) {
                appendRun(stripOf(runCoats), lower, upper, runFrom, column, level);
                runFrom = column;
            }
            runCoats = coats;
            column = next;
        }
        appendRun(stripOf(runCoats), lower, upper, runFrom, mRight, level);
        lower = upper;
    }
    return strips;
}

void TerrainBlock::appendRun(std::vector<unsigned int>& strip, unsigned int lower, unsigned int upper,
                             unsigned int from, unsigned int to, unsigned int level) const
{
    // Runs are joined by repeating the last index of one and the first of
    // the next; the repeat at the start also puts every triangle
    // counter-clockwise from above, and each run has an even count, so the
    // next starts the same way round. The joins make triangles without
    // area, which draw nothing.
    strip.push_back(lower * mRowLength + from);
    for (unsigned int column = from;; column = nextPosition(column, level, to)) {
        strip.push_back(lower * mRowLength + column);
        strip.push_back(upper * mRowLength + column);
        if (column == to) {
            break;
        }
    }
    strip.push_back(upper * mRowLength + to);
}

void TerrainBlock::buildSeam(Edge edge, unsigned int coarse, unsigned int fine)
{
    // Between two neighbouring coarse edge vertices a and b, the finer edge
    // runs through the fine vertices p1 … pk between them. The fan (a, pi,
    // pi+1), closed by (a, pk, b), covers the space between the straight
    // edge a–b and the finer one, whatever the heights.
    const bool across = edge == TOP || edge == BOTTOM;
    const unsigned int first = across ? mLeft : mTop;
    const unsigned int last = across ? mRight : mBottom;
    const unsigned int coarseStep = 1u << coarse;
    auto* seam = new IndexedTriangles(6 * (last - first));
    for (unsigned int a = first; a < last; a = nextPosition(a, coarse, last)) {
        const unsigned int b = std::min(a + coarseStep, last);
        const unsigned int apex = edgeVertex(edge, a);
        for (unsigned int p = nextPosition(a, fine, b); p < b; p = nextPosition(p, fine, b)) {
            const unsigned int q = edgeVertex(edge, nextPosition(p, fine, b));
            const unsigned int here = edgeVertex(edge, p);
            seam->addTriangle(apex, here, q);
            seam->addTriangle(apex, q, here);
        }
    }
    mSeams[edge][coarse][fine] = seam;
}

unsigned int TerrainBlock::edgeVertex(Edge edge, unsigned int along) const
{
    switch (edge) {
    case TOP:
        return mTop * mRowLength + along;
    case BOTTOM:
        return mBottom * mRowLength + along;
    case LEFT:
        return along * mRowLength + mLeft;
    default:
        return along * mRowLength + mRight;
    }
}

void TerrainBlock::collectSeams(CppLib::Vector<GeometryElement*>& elements) const
{
    for (const auto& byCoarse : mSeams) {
        for (const auto& byFine : byCoarse) {
            for (IndexElementData* seam : byFine) {
                if (seam) {
                    elements.append(seam);
                }
            }
        }
    }
}

} // namespace Velta
