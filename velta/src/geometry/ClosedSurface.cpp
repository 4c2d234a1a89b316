#include "geometry/ClosedSurface.h"

#include "geometry/Geometry.h"
#include "geometry/GeometryGroup.h"
#include "geometry/IndexDataSet.h"
#include "geometry/IndexElement.h"
#include "geometry/VertexDataSet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <numeric>
#include <utility>
#include <vector>

namespace Velta {

namespace {

using Position = std::array<float, 3>;

/// Positions closer than this fraction of the geometry's size count as one:
/// a surface built from a formula repeats its corners to the last bit or two
/// (at a pole, where a seam closes), and a gap that small cannot show.
constexpr double SAME_PLACE = 1e-5;

/// The triangles as corners numbered by position: corners at one position,
/// whatever else their vertices carry, are one corner.
struct Corners {
    std::vector<Position> positions;
    std::vector<std::array<unsigned int, 3>> triangles;
};

bool readIndex(const IndexDataSet& list, unsigned int at, unsigned int& index)
{
    switch (list.getIndexType()) {
    case DataType::UNSIGNED_INT:
        index = static_cast<const std::uint32_t*>(list.getIndexList())[at];
        return true;
    case DataType::UNSIGNED_SHORT:
        index = static_cast<const std::uint16_t*>(list.getIndexList())[at];
        return true;
    case DataType::UNSIGNED_BYTE:
        index = static_cast<const std::uint8_t*>(list.getIndexList())[at];
        return true;
    default:
        return false;
    }
}

/// False when an element is not a list of triangles into `vertices`.
bool readCorners(const Geometry& geometry, const VertexDataSet& vertices, Corners& corners)
{
    if (vertices.getVertexType() != DataType::FLOAT || vertices.getNumVertex() != 3 || !vertices.getVertices()) {
        return false;
    }
    const unsigned int stride = vertices.getStride(VertexDataSet::VERTICES);
    const auto* first = static_cast<const unsigned char*>(vertices.getVertices());
    const auto positionOf = [&](unsigned int vertex) {
        const auto* p = reinterpret_cast<const float*>(first + static_cast<std::size_t>(vertex) *
                                                                   (stride != 0 ? stride : 3 * sizeof(float)));
        return Position{p[0], p[1], p[2]};
    };
    double size = 0.0;
    for (unsigned int vertex = 0; vertex < vertices.getCount(); ++vertex) {
        for (const float coordinate : positionOf(vertex)) {
            size = std::max(size, std::abs(static_cast<double>(coordinate)));
        }
    }
    const double step = size * SAME_PLACE;
    if (!(step > 0.0) || !std::isfinite(step)) {
        return false;
    }
    std::map<std::array<long long, 3>, unsigned int> numbers;
    const auto number = [&](unsigned int vertex) {
        const Position position = positionOf(vertex);
        const std::array<long long, 3> place{std::llround(position[0] / step), std::llround(position[1] / step),
                                             std::llround(position[2] / step)};
        const auto [at, added] = numbers.emplace(place, static_cast<unsigned int>(corners.positions.size()));
        if (added) {
            corners.positions.push_back(position);
        }
        return at->second;
    };
    for (const GeometryGroup* group : geometry.getElementGroups()) {
        if (!group) {
            continue;
        }
        for (const GeometryElement* element : group->getElementList(0)) {
            const auto* indexed = dynamic_cast<const IndexElement*>(element);
            if (!indexed || element->getElementType() != GeometryElement::TRIANGLES ||
                indexed->getDrawCount(vertices) != indexed->getIndexList().getCount()) {
                return false;
            }
            const IndexDataSet& list = indexed->getIndexList();
            for (unsigned int at = 0; at + 2 < list.getCount(); at += 3) {
                std::array<unsigned int, 3> triangle{};
                for (unsigned int corner = 0; corner < 3; ++corner) {
                    unsigned int vertex = 0;
                    if (!readIndex(list, at + corner, vertex)) {
                        return false;
                    }
                    triangle[corner] = number(vertex);
                }
                corners.triangles.push_back(triangle);
            }
        }
    }
    return true;
}

/// A triangle with two corners at one place draws nothing and closes nothing.
bool isDegenerate(const std::array<unsigned int, 3>& triangle)
{
    return triangle[0] == triangle[1] || triangle[1] == triangle[2] || triangle[2] == triangle[0];
}

unsigned int findRoot(std::vector<unsigned int>& parents, unsigned int corner)
{
    while (parents[corner] != corner) {
        parents[corner] = parents[parents[corner]];
        corner = parents[corner];
    }
    return corner;
}

/// Six times the volume the triangle encloses with the origin, signed.
double tripleProduct(const Position& a, const Position& b, const Position& c)
{
    return static_cast<double>(a[0]) * (static_cast<double>(b[1]) * c[2] - static_cast<double>(b[2]) * c[1]) -
           static_cast<double>(a[1]) * (static_cast<double>(b[0]) * c[2] - static_cast<double>(b[2]) * c[0]) +
           static_cast<double>(a[2]) * (static_cast<double>(b[0]) * c[1] - static_cast<double>(b[1]) * c[0]);
}

} // namespace

bool ClosedSurface::isClosed(const Geometry& geometry)
{
    const VertexDataSet* vertices = geometry.getIndexedDataSet(0);
    Corners corners;
    if (!vertices || !readCorners(geometry, *vertices, corners)) {
        return false;
    }
    // Each edge walked once each way; pieces joined along their edges.
    std::map<std::pair<unsigned int, unsigned int>, unsigned int> walks;
    std::vector<unsigned int> parents(corners.positions.size());
    std::iota(parents.begin(), parents.end(), 0u);
    bool any = false;
    for (const auto& triangle : corners.triangles) {
        if (isDegenerate(triangle)) {
            continue;
        }
        any = true;
        for (unsigned int corner = 0; corner < 3; ++corner) {
            const unsigned int from = triangle[corner];
            const unsigned int to = triangle[(corner + 1) % 3];
            ++walks[{from, to}];
            parents[findRoot(parents, from)] = findRoot(parents, to);
        }
    }
    if (!any) {
        return false;
    }
    for (const auto& [edge, count] : walks) {
        const auto back = walks.find({edge.second, edge.first});
        if (count != 1 || back == walks.end() || back->second != 1) {
            return false;
        }
    }
    // Wound outward, each closed piece encloses a positive volume.
    std::map<unsigned int, double> volumes;
    for (const auto& triangle : corners.triangles) {
        if (isDegenerate(triangle)) {
            continue;
        }
        volumes[findRoot(parents, triangle[0])] += tripleProduct(
            corners.positions[triangle[0]], corners.positions[triangle[1]], corners.positions[triangle[2]]);
    }
    for (const auto& [piece, volume] : volumes) {
        if (!(volume > 0.0)) {
            return false;
        }
    }
    return true;
}

} // namespace Velta
