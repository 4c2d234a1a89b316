#pragma once

#include "VeltaExport.h"
#include "resource/ResourceContainer.h"

namespace Velta {

/// Common base of the vertex and index data-set interfaces. Back ends (the
/// renderer's buffer objects) hang their records on it. A copy is a new data
/// set: it starts without records, and assignment keeps the target's own.
class VELTA_EXPORT DataSet : public ResourceContainer {
public:
    DataSet() = default;
    DataSet(const DataSet&) : ResourceContainer() {}
    DataSet& operator=(const DataSet&) { return *this; }
    ~DataSet() override;
};

} // namespace Velta
