#pragma once

#include <cstddef>
#include <new>

namespace CppLib {

namespace Detail {

/// The count shared by every SharedPtr to one object, with what deletes the
/// object: captured where the pointer was adopted, so a SharedPtr may be
/// copied and destroyed where its type is only declared, and a pointer
/// converted to a base still deletes the object as the type it was made with.
struct SharedCount {
    unsigned int count;
    void* object;
    void (*destroy)(void* object);
};

} // namespace Detail

/// Non-intrusive reference-counted owning pointer.
///
/// Every SharedPtr to the same object shares one separately allocated count;
/// the last owner deletes the object. Counts are plain integers: the engine
/// runs on one thread.
///
/// A SharedPtr<Derived> converts to a SharedPtr<Base> that shares the same
/// count, so derived objects can be handed to interfaces taking the base.
template <typename T>
class SharedPtr {
public:
    SharedPtr() = default;
    SharedPtr(std::nullptr_t) {}

    /// Takes ownership of `object`; a null pointer gives an empty SharedPtr.
    template <typename U>
    explicit SharedPtr(U* object)
    {
        adopt(object);
    }

    SharedPtr(const SharedPtr& other) { share(other.mPtr, other.mCount); }

    /// Takes over `other`'s share, leaving it empty; the count is untouched.
    SharedPtr(SharedPtr&& other) noexcept : mPtr(other.mPtr), mCount(other.mCount)
    {
        other.mPtr = nullptr;
        other.mCount = nullptr;
    }

    template <typename U>
    SharedPtr(const SharedPtr<U>& other)
    {
        share(other.mPtr, other.mCount);
    }

    virtual ~SharedPtr() { release(); }

    SharedPtr& operator=(const SharedPtr& other) { return assign(other.mPtr, other.mCount); }

    SharedPtr& operator=(SharedPtr&& other) noexcept
    {
        if (this != &other) {
            // Take the share first: the object released below may own `other`.
            T* object = other.mPtr;
            Detail::SharedCount* count = other.mCount;
            other.mPtr = nullptr;
            other.mCount = nullptr;
            release();
            mPtr = object;
            mCount = count;
        }
        return *this;
    }

    template <typename U>
    SharedPtr& operator=(const SharedPtr<U>& other)
    {
        return assign(other.mPtr, other.mCount);
    }

    /// Replaces the held object by `object`; the pointer already held changes nothing.
    template <typename U>
    SharedPtr& operator=(U* object)
    {
        if (object != mPtr) {
            setNull();
            adopt(object);
        }
        return *this;
    }

    /// Gives up this share; the object dies when it was the last one.
    void setNull()
    {
        if (mPtr || mCount) {
            release();
            mPtr = nullptr;
            mCount = nullptr;
        }
    }

    bool isNull() const { return mPtr == nullptr; }
    explicit operator bool() const { return mPtr != nullptr; }

    T* get() const { return mPtr; }
    T& operator*() const { return *mPtr; }
    T* operator->() const { return mPtr; }

    /// Number of owners sharing the object; 0 for an empty or uncounted pointer.
    unsigned int getUseCount() const { return mCount ? mCount->count : 0; }

    /// Shares `other`'s count under another type, as a checked downcast:
    /// empty when the cast fails.
    template <typename U>
    static SharedPtr dynamicCast(const SharedPtr<U>& other)
    {
        SharedPtr result;
        if (T* cast = dynamic_cast<T*>(other.mPtr)) {
            result.share(cast, other.mCount);
        }
        return result;
    }

    template <typename U>
    bool operator==(const SharedPtr<U>& other) const
    {
        return mPtr == other.mPtr;
    }
    template <typename U>
    bool operator!=(const SharedPtr<U>& other) const
    {
        return mPtr != other.mPtr;
    }

private:
    template <typename U>
    friend class SharedPtr;

    template <typename U>
    static void destroyAs(void* object)
    {
        delete static_cast<U*>(object);
    }

    template <typename U>
    void adopt(U* object)
    {
        mPtr = object;
        mCount = nullptr;
        if (object) {
            // A failed count allocation leaves the pointer uncounted: it is
            // shared without counting and never deleted.
            mCount = new (std::nothrow) Detail::SharedCount{1, object, &destroyAs<U>};
        }
    }

    void share(T* object, Detail::SharedCount* count)
    {
        mPtr = object;
        mCount = count;
        if (mCount) {
            ++mCount->count;
        }
    }

    SharedPtr& assign(T* object, Detail::SharedCount* count)
    {
        if (object != mPtr) {
            // Take the new share before dropping the old one: the old object
            // may own the pointer we are assigned from.
            if (count) {
                ++count->count;
            }
            release();
            mPtr = object;
            mCount = count;
        }
        return *this;
    }

    /// Drops this share. Members are left as they are when others still own
    /// the object; callers that keep the pointer assign new values afterwards.
    void release()
    {
        if (!mCount) {
            return;
        }
        if (--mCount->count == 0) {
            Detail::SharedCount* count = mCount;
            mPtr = nullptr;
            mCount = nullptr;
            count->destroy(count->object);
            delete count;
        }
    }

    T* mPtr = nullptr;
    Detail::SharedCount* mCount = nullptr;
};

} // namespace CppLib
