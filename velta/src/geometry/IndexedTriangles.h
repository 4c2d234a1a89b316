#pragma once

#include "VeltaExport.h"
#include "geometry/IndexElementData.h"

namespace Velta {

/// Independent triangles, three indices each.
class VELTA_EXPORT IndexedTriangles : public IndexElementData {
public:
    /// Room for `capacity` indices; grows by 6 at a time.
    explicit IndexedTriangles(unsigned int capacity);
    ~IndexedTriangles() override;

    IndexedTriangles* clone() const override;

    /// Adds the three corners of one triangle.
    void addTriangle(unsigned int a, unsigned int b, unsigned int c);
};

} // namespace Velta
