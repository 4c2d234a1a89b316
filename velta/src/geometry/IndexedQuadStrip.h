#pragma once

#include "VeltaExport.h"
#include "geometry/IndexElementData.h"

namespace Velta {

/// A quad strip, built pair by pair.
class VELTA_EXPORT IndexedQuadStrip : public IndexElementData {
public:
    /// Room for `capacity` indices; grows by 12 at a time.
    explicit IndexedQuadStrip(unsigned int capacity);
    ~IndexedQuadStrip() override;

    IndexedQuadStrip* clone() const override;

    /// Adds the next pair of the strip; every pair after the first closes a quad.
    void addQuad(unsigned int a, unsigned int b);
};

} // namespace Velta
