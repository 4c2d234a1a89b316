#pragma once

#include "VeltaExport.h"
#include "cpplib/Matrix.h"
#include "cpplib/TVector.h"

namespace Velta {

/// A local 4×4 transformation built up step by step. Angles are radians.
///
/// Every step takes a final `local` flag: true applies the step in the
/// transformation's own axes (multiplied on the right, mLocal = mLocal × T),
/// false in the parent's axes (on the left, mLocal = T × mLocal).
class VELTA_EXPORT Transformation {
public:
    /// The identity.
    Transformation();
    Transformation(const Transformation& other);
    /// Copies the matrix and counts as a change of this transformation.
    Transformation& operator=(const Transformation& other);
    virtual ~Transformation();

    void translate(float x, float y, float z, bool local);
    void translate(const CppLib::TVector<float, 3>& offset, bool local);

    void rotateX(float angle, bool local);
    void rotateY(float angle, bool local);
    void rotateZ(float angle, bool local);

    /// Rotation about `axis` through the origin; a zero axis changes nothing.
    void rotate(float angle, const CppLib::TVector<float, 3>& axis, bool local);
    void rotate(float angle, float x, float y, float z, bool local);

    /// Rotation about the line through `p` and `q`; p = q changes nothing.
    void rotate(float angle, const CppLib::TVector<float, 3>& p, const CppLib::TVector<float, 3>& q, bool local);

    void scale(float sx, float sy, float sz, bool local);
    void scale(float factor, bool local);

    /// Multiplies by `m`; any `local` other than 0 multiplies on the right.
    /// A 3×3 matrix is widened with an identity last row and column.
    void multMatrix(const CppLib::Matrix<float, 4>& m, float local);
    void multMatrix(const CppLib::Matrix<float, 3>& m, float local);

    /// Back to the identity.
    void reset();

    const CppLib::Matrix<float, 4>& getLocalTransformation() const { return mLocal; }

    /// The inverse of the local matrix, computed on first use after a change;
    /// the identity for a singular matrix.
    const CppLib::Matrix<float, 4>& getInverseTransformation() const;

protected:
    /// Called after every change of the matrix.
    virtual void onModified();

private:
    void apply(const CppLib::Matrix<float, 4>& step, bool local);

    CppLib::Matrix<float, 4> mLocal;
    mutable CppLib::Matrix<float, 4> mInverse;
    mutable bool mInverseDirty = false;
};

} // namespace Velta
