#pragma once

#include "VeltaExport.h"
#include "geometry/IndexElementData.h"

namespace Velta {

/// A triangle strip: every index after the second closes one triangle.
class VELTA_EXPORT IndexedTriangleStrip : public IndexElementData {
public:
    /// Room for `capacity` indices; grows by 12 at a time.
    explicit IndexedTriangleStrip(unsigned int capacity);
    ~IndexedTriangleStrip() override;

    IndexedTriangleStrip* clone() const override;

    /// Adds the next vertex of the strip.
    void addVertice(unsigned int index);
};

} // namespace Velta
