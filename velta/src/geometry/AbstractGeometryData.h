#pragma once

#include "VeltaExport.h"

namespace Velta {

/// Identity and change stamp of a vertex or index data set, by which the
/// renderer keeps one buffer object per data set and refills it only when the
/// data changed.
///
/// Made and used while the core runs: the id comes from the geometry manager
/// and stamps from the timer manager. Ids are never reused within a run; a
/// copy is a new data set with its own id, not yet marked modified.
class VELTA_EXPORT AbstractGeometryData {
public:
    explicit AbstractGeometryData(bool bufferable);
    AbstractGeometryData(const AbstractGeometryData& other);
    AbstractGeometryData& operator=(const AbstractGeometryData&) = delete;
    virtual ~AbstractGeometryData();

    virtual unsigned long long getId() const { return mId; }

    /// Whether a renderer may keep the data in a buffer object.
    virtual bool isBufferable() const { return mBufferable; }

    /// Stamps the data with the timer manager's current timestamp. Whoever
    /// changes the contents calls it, once after a batch of changes.
    void setModified();

    /// Whether the data was marked modified at or after `time` (timer
    /// manager milliseconds). Data never marked, or marked while no clock
    /// ran (stamp 0), reports false.
    virtual bool hasChanged(long long time) const;

    /// The stamp of the last setModified(); 0 before the first.
    long long getModificationTime() const { return mModified; }

private:
    unsigned long long mId;
    bool mBufferable;
    long long mModified = 0;
};

} // namespace Velta
