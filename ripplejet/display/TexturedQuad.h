#pragma once

#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"

namespace Velta {
class GeometryData;
} // namespace Velta

namespace Ripplejet {

/// Flat four-cornered geometry with one texture layer, such as the game's
/// on-screen signs.
class TexturedQuad {
public:
    using Vec3 = CppLib::TVector<float, 3>;

    /// A quad through the corners a, b, c, d, counter-clockwise as seen from
    /// its front, with `normal` at every corner. The texture runs
    /// `repeatS` times from a to b and `repeatT` times from d to a, with the
    /// image's top row along d–c. Bounded by its corners.
    static CppLib::SharedPtr<Velta::GeometryData> create(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d,
                                                         const Vec3& normal, float repeatS = 1.0f,
                                                         float repeatT = 1.0f);
};

} // namespace Ripplejet
