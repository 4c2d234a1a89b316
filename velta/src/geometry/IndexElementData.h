#pragma once

#include "VeltaExport.h"
#include "geometry/ElementData.h"
#include "geometry/IndexData.h"
#include "geometry/IndexElement.h"

namespace Velta {

/// An element of `type` that owns its index list (UNSIGNED_INT, room for
/// `capacity` indices, growing by `growStep`). A copy shares the list until
/// either side writes.
class VELTA_EXPORT IndexElementData : public ElementData, public virtual IndexElement {
public:
    IndexElementData(ElementType type, unsigned int capacity, unsigned int growStep);
    ~IndexElementData() override;

    IndexElementData* clone() const override;

    IndexData& getIndexList() override { return mIndexData; }
    const IndexData& getIndexList() const override { return mIndexData; }

protected:
    IndexData mIndexData;
};

} // namespace Velta
