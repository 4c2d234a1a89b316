#pragma once

#include "VeltaExport.h"

namespace CppLib {

template <typename T>
class CowMemPtr;

/// Copy-on-write block of raw bytes behind pixel, vertex and index buffers.
///
/// Copies share one block, one count and one byte size. Readers use the const
/// get(); a writer calls the non-const get(), which first gives it a private
/// copy whenever anybody else shares the block. A shared block is never
/// resized in place either.
template <>
class VELTA_EXPORT CowMemPtr<void> {
public:
    CowMemPtr() = default;
    CowMemPtr(const CowMemPtr& other);
    virtual ~CowMemPtr();

    const CowMemPtr& operator=(const CowMemPtr& other);

    /// Allocates `size` uninitialised bytes; false when a block is already held.
    bool alloc(unsigned int size);

    /// Changes the byte size, keeping the first min(old, new) bytes. A shared
    /// block is detached first; false on the null block.
    bool resize(unsigned int size);

    /// Writable bytes, private to this object from now on; null for the null
    /// block and when the private copy cannot be allocated.
    void* get();
    const void* get() const { return mData; }

    unsigned int getByteSize() const { return mSize ? *mSize : 0; }
    bool isNull() const { return mData == nullptr; }
    void setNull();

    /// Number of objects sharing the block; 0 for the null block.
    unsigned int getShareCount() const { return mCount ? *mCount : 0; }

private:
    bool copy();
    void release();
    void destroy();
    void assign(const CowMemPtr& other);

    void* mData = nullptr;
    unsigned int* mCount = nullptr;
    unsigned int* mSize = nullptr;
};

} // namespace CppLib
