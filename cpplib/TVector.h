#pragma once

#include <cmath>
#include <type_traits>

namespace CppLib {

/// Fixed-size vector of N components (x, y, z and, for N = 4, w).
/// Results are new values; operands are never changed.
template <typename T, int N>
class TVector {
    static_assert(N >= 2 && N <= 4, "TVector has 2 to 4 components");

public:
    /// All components 0.
    TVector() : mData{} {}

    template <typename... Components,
              typename = std::enable_if_t<sizeof...(Components) == N &&
                                          (std::is_arithmetic_v<Components> && ...)>>
    TVector(Components... components) : mData{static_cast<T>(components)...}
    {
    }

    T& operator[](int i) { return mData[i]; }
    const T& operator[](int i) const { return mData[i]; }

    T& x() { return mData[0]; }
    T& y() { return mData[1]; }
    T& z() { static_assert(N >= 3, "no z component"); return mData[2]; }
    T& w() { static_assert(N >= 4, "no w component"); return mData[3]; }
    T x() const { return mData[0]; }
    T y() const { return mData[1]; }
    T z() const { static_assert(N >= 3, "no z component"); return mData[2]; }
    T w() const { static_assert(N >= 4, "no w component"); return mData[3]; }

    const T* getData() const { return mData; }

    TVector operator+(const TVector& other) const
    {
        TVector result;
        for (int i = 0; i < N; ++i) {
            result.mData[i] = mData[i] + other.mData[i];
        }
        return result;
    }

    TVector operator-(const TVector& other) const
    {
        TVector result;
        for (int i = 0; i < N; ++i) {
            result.mData[i] = mData[i] - other.mData[i];
        }
        return result;
    }

    /// Scales every component, w included.
    TVector operator*(T factor) const
    {
        TVector result;
        for (int i = 0; i < N; ++i) {
            result.mData[i] = mData[i] * factor;
        }
        return result;
    }

    bool operator==(const TVector& other) const
    {
        for (int i = 0; i < N; ++i) {
            if (mData[i] != other.mData[i]) {
                return false;
            }
        }
        return true;
    }
    bool operator!=(const TVector& other) const { return !(*this == other); }

    /// Sum of the products of all N components.
    T dot(const TVector& other) const
    {
        T sum = 0;
        for (int i = 0; i < N; ++i) {
            sum += mData[i] * other.mData[i];
        }
        return sum;
    }

    /// Euclidean length over all N components.
    T length() const { return std::sqrt(dot(*this)); }

    /// This vector divided by its length; the zero vector stays zero.
    TVector normalized() const
    {
        const T len = length();
        return len == 0 ? TVector() : *this * (T(1) / len);
    }

    /// Cross product of the x, y, z parts; for N = 4 the result's w is 0.
    TVector cross(const TVector& other) const
    {
        static_assert(N >= 3, "cross product needs three components");
        TVector result;
        result.mData[0] = mData[1] * other.mData[2] - mData[2] * other.mData[1];
        result.mData[1] = mData[2] * other.mData[0] - mData[0] * other.mData[2];
        result.mData[2] = mData[0] * other.mData[1] - mData[1] * other.mData[0];
        return result;
    }

private:
    T mData[N];
};

} // namespace CppLib
