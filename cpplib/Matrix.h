#pragma once

#include "cpplib/TVector.h"

#include <cmath>

namespace CppLib {

/// N×N matrix, row-major: element [row][column] is at index row·N + column.
/// Vectors are columns multiplied from the right, so the translation of a 4×4
/// matrix is in elements [0][3], [1][3], [2][3].
///
/// The identity flag is true only for matrices built as the identity (or
/// copied from one, or returned by a shortcut that copied one). Products with
/// a flagged operand skip the arithmetic; a matrix whose elements merely equal
/// the identity keeps the flag false, and every result is still right.
template <typename T, int N>
class Matrix {
    static_assert(N == 3 || N == 4, "Matrix is 3×3 or 4×4");

public:
    /// The identity.
    Matrix() : mData{}, mIdentity(true)
    {
        for (int i = 0; i < N; ++i) {
            mData[i * N + i] = 1;
        }
    }

    /// A general matrix from N·N row-major elements.
    explicit Matrix(const T* rowMajor) : mIdentity(false)
    {
        for (int i = 0; i < N * N; ++i) {
            mData[i] = rowMajor[i];
        }
    }

    static Matrix identity() { return Matrix(); }

    T get(int row, int column) const { return mData[row * N + column]; }

    /// Writes one element; the matrix is general from now on.
    void set(int row, int column, T value)
    {
        mData[row * N + column] = value;
        mIdentity = false;
    }

    const T* getData() const { return mData; }
    bool isIdentity() const { return mIdentity; }

    Matrix operator*(const Matrix& other) const
    {
        if (mIdentity) {
            return other;
        }
        if (other.mIdentity) {
            return *this;
        }
        Matrix result(Uninitialized{});
        for (int i = 0; i < N; ++i) {
            for (int j = 0; j < N; ++j) {
                T sum = 0;
                for (int k = 0; k < N; ++k) {
                    sum += mData[i * N + k] * other.mData[k * N + j];
                }
                result.mData[i * N + j] = sum;
            }
        }
        return result;
    }

    /// The matrix applied to a column vector; the identity returns it unchanged.
    template <typename V, typename = std::enable_if_t<std::is_base_of_v<TVector<T, N>, V>>>
    TVector<T, N> operator*(const V& vector) const
    {
        if (mIdentity) {
            return vector;
        }
        TVector<T, N> result;
        for (int i = 0; i < N; ++i) {
            T sum = 0;
            for (int j = 0; j < N; ++j) {
                sum += mData[i * N + j] * vector[j];
            }
            result[i] = sum;
        }
        return result;
    }

    /// Every element times `factor`.
    Matrix operator*(T factor) const
    {
        Matrix result(Uninitialized{});
        for (int i = 0; i < N * N; ++i) {
            result.mData[i] = mData[i] * factor;
        }
        return result;
    }

    Matrix transposed() const
    {
        if (mIdentity) {
            return *this;
        }
        Matrix result(Uninitialized{});
        for (int i = 0; i < N; ++i) {
            for (int j = 0; j < N; ++j) {
                result.mData[j * N + i] = mData[i * N + j];
            }
        }
        return result;
    }

    /// Determinant of the (N−1)×(N−1) matrix left without `row` and `column`.
    T minor(int row, int column) const
    {
        T rest[(N - 1) * (N - 1)];
        int n = 0;
        for (int i = 0; i < N; ++i) {
            for (int j = 0; j < N; ++j) {
                if (i != row && j != column) {
                    rest[n++] = mData[i * N + j];
                }
            }
        }
        return determinantOf(rest, N - 1);
    }

    /// Element [i][j] = (−1)^(i+j)·minor(i, j); `transpose` stores it
    /// transposed, which is the adjugate.
    Matrix cofactors(bool transpose = false) const
    {
        if (mIdentity) {
            return *this;
        }
        Matrix result(Uninitialized{});
        for (int i = 0; i < N; ++i) {
            for (int j = 0; j < N; ++j) {
                const T sign = ((i + j) % 2 == 0) ? T(1) : T(-1);
                const int index = transpose ? j * N + i : i * N + j;
                result.mData[index] = sign * minor(i, j);
            }
        }
        return result;
    }

    T determinant() const { return mIdentity ? T(1) : determinantOf(mData, N); }

    /// The inverse; a singular matrix (determinant 0) yields the identity.
    Matrix inverse() const
    {
        if (mIdentity) {
            return *this;
        }
        const T det = determinant();
        if (det == 0) {
            return Matrix();
        }
        return cofactors(true) * (T(1) / det);
    }

    /// 4×4 translation by (x, y, z).
    static Matrix translation(T x, T y, T z)
    {
        static_assert(N == 4, "translation needs a 4×4 matrix");
        Matrix result;
        result.mData[3] = x;
        result.mData[7] = y;
        result.mData[11] = z;
        result.mIdentity = false;
        return result;
    }

    /// Scaling along the axes by (x, y, z); a 4×4 matrix keeps w.
    static Matrix scaling(T x, T y, T z)
    {
        Matrix result;
        result.mData[0] = x;
        result.mData[N + 1] = y;
        result.mData[2 * N + 2] = z;
        result.mIdentity = false;
        return result;
    }

    /// Right-handed rotations by `radians` about one axis.
    static Matrix rotationX(T radians) { return rotationAbout(1, 2, radians); }
    static Matrix rotationY(T radians) { return rotationAbout(2, 0, radians); }
    static Matrix rotationZ(T radians) { return rotationAbout(0, 1, radians); }

private:
    struct Uninitialized {};
    explicit Matrix(Uninitialized) : mIdentity(false) {}

    /// Rotation in the plane of axes a and b, turning a toward b.
    static Matrix rotationAbout(int a, int b, T radians)
    {
        const T c = std::cos(radians);
        const T s = std::sin(radians);
        Matrix result;
        result.mData[a * N + a] = c;
        result.mData[a * N + b] = -s;
        result.mData[b * N + a] = s;
        result.mData[b * N + b] = c;
        result.mIdentity = false;
        return result;
    }

    /// Determinant of an n×n row-major matrix by cofactor expansion (n ≤ 4).
    static T determinantOf(const T* m, int n)
    {
        if (n == 1) {
            return m[0];
        }
        if (n == 2) {
            return m[0] * m[3] - m[1] * m[2];
        }
        T sum = 0;
        T rest[9];
        for (int column = 0; column < n; ++column) {
            int k = 0;
            for (int i = 1; i < n; ++i) {
                for (int j = 0; j < n; ++j) {
                    if (j != column) {
                        rest[k++] = m[i * n + j];
                    }
                }
            }
            const T sign = (column % 2 == 0) ? T(1) : T(-1);
            sum += sign * m[column] * determinantOf(rest, n - 1);
        }
        return sum;
    }

    T mData[N * N];
    bool mIdentity;
};

} // namespace CppLib
