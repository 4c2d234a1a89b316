#include "scene/Transformation.h"

#include <cmath>

namespace Velta {

namespace {

using Matrix4 = CppLib::Matrix<float, 4>;
using Vector3 = CppLib::TVector<float, 3>;

/// Rotation by `angle` about the unit axis (x, y, z).
Matrix4 axisRotation(float angle, float x, float y, float z)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    const float data[16] = {
        x * x * t + c,     x * y * t - z * s, x * z * t + y * s, 0.0f,
        x * y * t + z * s, y * y * t + c,     y * z * t - x * s, 0.0f,
        x * z * t - y * s, y * z * t + x * s, z * z * t + c,     0.0f,
        0.0f,              0.0f,              0.0f,              1.0f,
    };
    return Matrix4(data);
}

} // namespace

Transformation::Transformation() = default;

Transformation::Transformation(const Transformation& other) = default;

Transformation& Transformation::operator=(const Transformation& other)
{
    if (this != &other) {
        mLocal = other.mLocal;
        mInverse = other.mInverse;
        mInverseDirty = other.mInverseDirty;
        onModified();
    }
    return *this;
}

Transformation::~Transformation() = default;

void Transformation::translate(float x, float y, float z, bool local)
{
    apply(Matrix4::translation(x, y, z), local);
}

void Transformation::translate(const Vector3& offset, bool local)
{
    translate(offset.x(), offset.y(), offset.z(), local);
}

void Transformation::rotateX(float angle, bool local)
{
    apply(Matrix4::rotationX(angle), local);
}

void Transformation::rotateY(float angle, bool local)
{
    apply(Matrix4::rotationY(angle), local);
}

void Transformation::rotateZ(float angle, bool local)
{
    apply(Matrix4::rotationZ(angle), local);
}

void Transformation::rotate(float angle, const Vector3& axis, bool local)
{
    const Vector3 unit = axis.normalized();
    if (unit == Vector3()) {
        return; // no direction to turn about
    }
    apply(axisRotation(angle, unit.x(), unit.y(), unit.z()), local);
}

void Transformation::rotate(float angle, float x, float y, float z, bool local)
{
    rotate(angle, Vector3(x, y, z), local);
}

void Transformation::rotate(float angle, const Vector3& p, const Vector3& q, bool local)
{
    const Vector3 axis = (q - p).normalized();
    if (axis == Vector3()) {
        return;
    }
    // T(p) · R · T(−p): move p to the origin, turn, move back.
    const Matrix4 step = Matrix4::translation(p.x(), p.y(), p.z()) * axisRotation(angle, axis.x(), axis.y(), axis.z()) *
                         Matrix4::translation(-p.x(), -p.y(), -p.z());
    apply(step, local);
}

void Transformation::scale(float sx, float sy, float sz, bool local)
{
    apply(Matrix4::scaling(sx, sy, sz), local);
}

void Transformation::scale(float factor, bool local)
{
    scale(factor, factor, factor, local);
}

void Transformation::multMatrix(const Matrix4& m, float local)
{
    apply(m, local != 0.0f);
}

void Transformation::multMatrix(const CppLib::Matrix<float, 3>& m, float local)
{
    float data[16] = {};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            data[row * 4 + column] = m.get(row, column);
        }
    }
    data[15] = 1.0f;
    apply(Matrix4(data), local != 0.0f);
}

void Transformation::reset()
{
    mLocal = Matrix4();
    mInverse = Matrix4();
    mInverseDirty = false;
    onModified();
}

const Matrix4& Transformation::getInverseTransformation() const
{
    if (mInverseDirty) {
        mInverse = mLocal.inverse();
        mInverseDirty = false;
    }
    return mInverse;
}

void Transformation::onModified() {}

void Transformation::apply(const Matrix4& step, bool local)
{
    mLocal = local ? mLocal * step : step * mLocal;
    mInverseDirty = true;
    onModified();
}

} // namespace Velta
