#include "cpplib/Matrix.h"
#include "cpplib/Point.h"
#include "cpplib/Point2D.h"
#include "cpplib/TVector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using CppLib::Matrix;
using CppLib::TVector;
using Velta::Point;
using Velta::Point2D;

using Matrix4 = Matrix<float, 4>;
using Vector3 = TVector<float, 3>;

namespace {

void expectMatrixNear(const Matrix4& actual, const float (&expected)[16], float tolerance = 1e-5f)
{
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.getData()[i], expected[i], tolerance) << "element [" << i / 4 << "][" << i % 4 << "]";
    }
}

const float kGeneral[16] = {2, 0, 1, 3,
                            1, 3, 0, 1,
                            0, 1, 4, 2,
                            1, 0, 0, 1};

} // namespace

TEST(Vector, NormalizedZeroStaysZeroAndPointsDivideAndProjectSafely)
{
    EXPECT_EQ(Vector3(0, 0, 0).normalized(), Vector3());
    const Vector3 n = Vector3(3, 0, 4).normalized();
    EXPECT_FLOAT_EQ(n.x(), 0.6f);
    EXPECT_FLOAT_EQ(n.z(), 0.8f);
    EXPECT_EQ((Vector3(1, 0, 0).cross(Vector3(0, 1, 0))), (Vector3(0, 0, 1)));
    EXPECT_FLOAT_EQ(Vector3(1, 2, 3).dot(Vector3(4, 5, 6)), 32.0f);

    // Points: homogeneous divide and projection onto the axis planes.
    const Point divided(TVector<float, 4>(2, 4, 6, 2));
    EXPECT_EQ(divided, (TVector<float, 4>(1, 2, 3, 1)));
    EXPECT_EQ(Point(TVector<float, 4>(2, 4, 6, 0)), Point());
    EXPECT_FLOAT_EQ((Point(1, 1, 1) - Point(0, 0, 0)).w(), 0.0f);

    const Point p(1, 2, 3);
    EXPECT_EQ(Point2D(p, 0), Point2D(2, 3));
    EXPECT_EQ(Point2D(p, 1), Point2D(1, 3));
    EXPECT_EQ(Point2D(p, 2), Point2D(1, 2));
    EXPECT_EQ(Point2D(TVector<float, 3>(4, 6, 2)), Point2D(2, 3));
    EXPECT_EQ(Point2D(TVector<float, 3>(4, 6, 0)), Point2D(4, 6));
}

TEST(Matrix, ProductsAgainstHandComputedValuesWithAndWithoutTheIdentityShortcut)
{
    const float b[16] = {1, 2, 0, 0,
                         0, 1, 0, 2,
                         3, 0, 1, 0,
                         0, 0, 2, 1};
    const float expected[16] = {5, 4, 7, 3,
                                1, 5, 2, 7,
                                12, 1, 8, 4,
                                1, 2, 2, 1};
    const Matrix4 general(kGeneral);
    expectMatrixNear(general * Matrix4(b), expected);
    EXPECT_FALSE((general * Matrix4(b)).isIdentity());

    const Matrix4 identity;
    expectMatrixNear(identity * general, kGeneral);
    expectMatrixNear(general * identity, kGeneral);
    EXPECT_FALSE((identity * general).isIdentity());
    EXPECT_TRUE((identity * identity).isIdentity());
    EXPECT_EQ((identity * TVector<float, 4>(1, 2, 3, 1)), (TVector<float, 4>(1, 2, 3, 1)));

    // Elements equal to the identity after general arithmetic keep the flag
    // false, yet every product is still right.
    const Matrix4 computed = Matrix4::translation(1, 2, 3) * Matrix4::translation(-1, -2, -3);
    EXPECT_FALSE(computed.isIdentity());
    expectMatrixNear(computed * general, kGeneral);
}

TEST(Matrix, PointsAreColumnsAndTranslationLivesInTheLastColumn)
{
    const Matrix4 t = Matrix4::translation(1, 2, 3);
    EXPECT_FLOAT_EQ(t.get(0, 3), 1);
    EXPECT_FLOAT_EQ(t.get(1, 3), 2);
    EXPECT_FLOAT_EQ(t.get(2, 3), 3);
    EXPECT_EQ(Point(t * Point(1, 1, 1)), Point(2, 3, 4));

    // What OpenGL receives: the transposed (column-major) elements, so the
    // translation comes last.
    const Matrix4 loaded = t.transposed();
    EXPECT_FLOAT_EQ(loaded.getData()[12], 1);
    EXPECT_FLOAT_EQ(loaded.getData()[13], 2);
    EXPECT_FLOAT_EQ(loaded.getData()[14], 3);

    // A rotation about Z by 90° takes +X to +Y.
    const TVector<float, 4> turned = Matrix4::rotationZ(static_cast<float>(M_PI / 2)) * TVector<float, 4>(1, 0, 0, 1);
    EXPECT_NEAR(turned.x(), 0, 1e-6);
    EXPECT_NEAR(turned.y(), 1, 1e-6);
}

TEST(Matrix, InversesAndDeterminantsOfTranslationRotationGeneralAndSingularMatrices)
{
    const float inverseTranslation[16] = {1, 0, 0, -1,
                                          0, 1, 0, -2,
                                          0, 0, 1, -3,
                                          0, 0, 0, 1};
    expectMatrixNear(Matrix4::translation(1, 2, 3).inverse(), inverseTranslation);

    const Matrix4 rotation = Matrix4::rotationX(0.5f);
    float transposed[16];
    std::copy_n(rotation.transposed().getData(), 16, transposed);
    expectMatrixNear(rotation.inverse(), transposed);

    const float identityElements[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const Matrix4 general(kGeneral);
    expectMatrixNear(general * general.inverse(), identityElements);
    EXPECT_TRUE(Matrix4().inverse().isIdentity());

    EXPECT_FLOAT_EQ(Matrix4::scaling(2, 3, 4).determinant(), 24.0f);
    EXPECT_NEAR(Matrix4::rotationY(1.1f).determinant(), 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(general.determinant(), -6.0f);
    const float singular[16] = {1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 1, 0, 0, 1};
    EXPECT_FLOAT_EQ(Matrix4(singular).determinant(), 0.0f);
    EXPECT_TRUE(Matrix4(singular).inverse().isIdentity());

    const float m3[9] = {2, 0, 0, 0, 3, 0, 0, 0, 4};
    EXPECT_FLOAT_EQ((Matrix<float, 3>(m3).inverse().get(1, 1)), 1.0f / 3.0f);
}
