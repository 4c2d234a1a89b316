#include "cpplib/CowMemPtr.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace CppLib {

CowMemPtr<void>::CowMemPtr(const CowMemPtr& other)
{
    assign(other);
}

CowMemPtr<void>::~CowMemPtr()
{
    release();
}

const CowMemPtr<void>& CowMemPtr<void>::operator=(const CowMemPtr& other)
{
    if (other.mData != mData) {
        release();
        assign(other);
    }
    return *this;
}

bool CowMemPtr<void>::alloc(unsigned int size)
{
    if (mData || mCount) {
        return false;
    }
    // malloc(0) may answer null; keep at least one byte so that a block of
    // size 0 is still a block and not the null block.
    void* data = std::malloc(std::max(size, 1u));
    if (!data) {
        return false;
    }
    mData = data;
    mCount = new unsigned int(1);
    mSize = new unsigned int(size);
    return true;
}

bool CowMemPtr<void>::resize(unsigned int size)
{
    if (!mData) {
        return false;
    }
    const unsigned int newAllocation = std::max(size, 1u);
    if (*mCount < 2) {
        void* data = std::realloc(mData, newAllocation);
        if (!data) {
            return false;
        }
        mData = data;
        *mCount = 1;
        *mSize = size;
        return true;
    }
    void* data = std::malloc(newAllocation);
    if (!data) {
        return false;
    }
    std::memcpy(data, mData, std::min(*mSize, size));
    --*mCount;
    mData = data;
    mCount = new unsigned int(1);
    mSize = new unsigned int(size);
    return true;
}

void* CowMemPtr<void>::get()
{
    return copy() ? mData : nullptr;
}

void CowMemPtr<void>::setNull()
{
    if (mData || mCount) {
        release();
        mData = nullptr;
        mCount = nullptr;
        mSize = nullptr;
    }
}

bool CowMemPtr<void>::copy()
{
    if (!mData || *mCount < 2) {
        return true;
    }
    const unsigned int size = *mSize;
    void* data = std::malloc(std::max(size, 1u));
    if (!data) {
        // Out of memory: the block stays shared, so nobody may write to it.
        return false;
    }
    std::memcpy(data, mData, size);
    --*mCount;
    mData = data;
    mCount = new unsigned int(1);
    mSize = new unsigned int(size);
    return true;
}

void CowMemPtr<void>::release()
{
    if (!mCount) {
        return;
    }
    if (--*mCount == 0) {
        destroy();
    }
}

void CowMemPtr<void>::destroy()
{
    std::free(mData);
    delete mCount;
    delete mSize;
    mData = nullptr;
    mCount = nullptr;
    mSize = nullptr;
}

void CowMemPtr<void>::assign(const CowMemPtr& other)
{
    mData = other.mData;
    mCount = other.mCount;
    mSize = other.mSize;
    if (mCount) {
        ++*mCount;
    }
}

} // namespace CppLib
