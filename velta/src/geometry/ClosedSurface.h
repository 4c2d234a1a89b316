#pragma once

#include "VeltaExport.h"

namespace Velta {

class Geometry;

/// Whether a geometry's triangles close around the space they take up, each
/// wound counter-clockwise seen from outside. Then from anywhere outside only
/// their fronts can be seen, and its materials may leave out the backs
/// (Material::setCullBackFaces): a software renderer otherwise sets up, bins
/// and depth-tests every back-facing triangle for nothing, and surfaces that
/// touch may show a back face where they meet.
class VELTA_EXPORT ClosedSurface {
public:
    /// True when every element of the geometry's groups is a list of
    /// triangles into its indexed vertex data, every edge between two
    /// positions is walked exactly once each way (triangles with two corners
    /// at one position do not count), and every connected piece encloses a
    /// positive volume. False otherwise, and for no triangles at all.
    static bool isClosed(const Geometry& geometry);
};

} // namespace Velta
