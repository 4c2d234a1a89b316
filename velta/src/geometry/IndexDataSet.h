#pragma once

#include "VeltaExport.h"
#include "geometry/DataSet.h"
#include "geometry/DataType.h"

namespace Velta {

/// Read interface of an index list: getCount() indices of getIndexType(),
/// packed, starting at getIndexList().
class VELTA_EXPORT IndexDataSet : public virtual DataSet {
public:
    /// getMaxIndex() of a list that cannot index vertices at all.
    static constexpr unsigned int INVALID_INDEX = 0xFFFFFFFFu;

    ~IndexDataSet() override;

    virtual unsigned int getCount() const = 0;
    virtual const void* getIndexList() const = 0;
    virtual DataType::Type getIndexType() const = 0;

    /// The largest index in the list; 0 for an empty list. INVALID_INDEX when
    /// the list is not empty and cannot be drawn: its type is not an unsigned
    /// byte, short or int, or it has no storage. The base scans the list.
    virtual unsigned int getMaxIndex() const;

    /// Whether every index refers to one of `vertexCount` vertices, so that
    /// drawing the list reads nothing past the vertex arrays. An empty list
    /// fits anything.
    bool fitsVertexCount(unsigned int vertexCount) const;

protected:
    /// Largest of `count` indices of `type` at `list`, as getMaxIndex() defines it.
    static unsigned int scanMaxIndex(const void* list, unsigned int count, DataType::Type type);
};

} // namespace Velta
