#pragma once

#include "VeltaExport.h"
#include "cpplib/CowMemPtr.h"
#include "geometry/AbstractGeometryData.h"
#include "geometry/IndexDataSet.h"

namespace Velta {

/// An index list built index by index over copy-on-write storage: a copy
/// shares the storage until either side writes.
///
/// Values are written for UNSIGNED_INT lists only; lists of other types are
/// allocated and zeroed. The largest index is kept up to date as indices are
/// written, so checking the list against a vertex count costs nothing per
/// frame. Mark the data with setModified() after changing it.
class VELTA_EXPORT IndexData : public AbstractGeometryData, public virtual IndexDataSet {
public:
    IndexData();
    IndexData(const IndexData& other);
    IndexData& operator=(const IndexData&) = delete;
    ~IndexData() override;

    /// Type of the indices (UNSIGNED_INT by default). While storage exists it
    /// takes effect at the next initialize(), so the storage always matches
    /// getIndexType().
    void setIndexType(DataType::Type type);

    /// Releases the storage and allocates room for `capacity` indices (zeroed);
    /// the count becomes 0. When full, the list grows by `growStep` indices,
    /// or doubles when it is 0. Negative arguments count as 0.
    void initialize(int capacity, int growStep);

    /// Appends `value` and returns its position. Without storage (never
    /// initialised, or out of memory) nothing is added and the result is 0.
    unsigned int addIndex(unsigned int value);

    /// Empties the list and keeps its storage and capacity, so refilling it
    /// up to its capacity allocates nothing (lists rebuilt every frame).
    void clear();

    /// Overwrites the index at `position` < getCount() of an UNSIGNED_INT
    /// list; false otherwise.
    bool setIndex(unsigned int position, unsigned int value);

    /// The index at `position`; 0 past the end or for other index types.
    unsigned int getIndex(unsigned int position) const;

    unsigned int getCapacity() const { return mCapacity; }
    unsigned int getGrowStep() const { return mGrowStep; }

    unsigned int getCount() const override { return mCount; }
    const void* getIndexList() const override { return mStorage.get(); }
    DataType::Type getIndexType() const override { return mType; }
    unsigned int getMaxIndex() const override;

private:
    bool reserve(unsigned int capacity);

    unsigned int mCount = 0;
    unsigned int mCapacity = 0;
    unsigned int mGrowStep = 0;
    DataType::Type mType = DataType::UNSIGNED_INT;
    DataType::Type mWantedType = DataType::UNSIGNED_INT;
    CppLib::CowMemPtr<void> mStorage;

    // Largest index written; rescanned after setIndex() lowered the largest.
    mutable unsigned int mMaxIndex = 0;
    mutable bool mMaxIndexKnown = true;
};

} // namespace Velta
