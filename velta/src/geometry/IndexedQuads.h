#pragma once

#include "VeltaExport.h"
#include "geometry/IndexElementData.h"

namespace Velta {

/// Independent quads, four indices each.
class VELTA_EXPORT IndexedQuads : public IndexElementData {
public:
    /// Room for `capacity` indices; grows by 8 at a time.
    explicit IndexedQuads(unsigned int capacity);
    ~IndexedQuads() override;

    IndexedQuads* clone() const override;

    /// Adds the four corners of one quad.
    void addQuad(unsigned int a, unsigned int b, unsigned int c, unsigned int d);
};

} // namespace Velta
