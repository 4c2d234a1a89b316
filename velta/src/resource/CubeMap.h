#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A cube-map texture. Only its name exists: the texture manager can
/// register and hand out cube maps, but the engine neither builds nor draws
/// one.
class VELTA_EXPORT CubeMap {
public:
    virtual ~CubeMap();

protected:
    CubeMap() = default;
};

} // namespace Velta
