#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace {

void expectVector(const Vector3& actual, float x, float y, float z, float tolerance = 0.0f) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

void expectBlock(const Matrix4& m, const float (&rows)[3][3], float tolerance) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(m.m[i][j], rows[i][j], tolerance) << "element " << i << "," << j;
}

Matrix4 filled(float sentinel) {
    Matrix4 m;
    for (auto& row : m.m)
        for (float& e : row) e = sentinel;
    return m;
}

}  // namespace

TEST(Vector3, ArithmeticKeepsOperandOrder) {
    expectVector(Vector3{1, 2, 3} - Vector3{1, 1, 1}, 0, 1, 2);
    expectVector(Vector3{1, 1, 1} - Vector3{1, 2, 3}, 0, -1, -2);
    expectVector(Vector3{1, 2, 3} + Vector3{4, 5, 6}, 5, 7, 9);
    expectVector(Vector3{2, 4, 8} / 4.0f, 0.5f, 1, 2);
}

TEST(Vector3, DivisionByZeroFollowsIeee) {
    const Vector3 quotient = Vector3{1, -1, 0} / 0.0f;
    EXPECT_EQ(quotient.x, std::numeric_limits<float>::infinity());
    EXPECT_EQ(quotient.y, -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(quotient.z));
}

TEST(Vector3, NormalizeScalesToUnitLengthAndLeavesZeroAlone) {
    Vector3 zero{0, 0, 0};
    zero.normalize();
    expectVector(zero, 0, 0, 0);
    Vector3 v{0, 3, 4};
    v.normalize();
    expectVector(v, 0, 0.6f, 0.8f, 1e-7f);
    Vector3 tiny{0, 0, 1e-30f};  // its squared length underflows to zero
    tiny.normalize();
    expectVector(tiny, 0, 0, 1e-30f);
}

TEST(Vector3, CrossProductIsRightHandedAndZeroForParallelVectors) {
    expectVector(Vector3{1, 0, 0}.cross({0, 1, 0}), 0, 0, 1);
    expectVector(Vector3{0, 1, 0}.cross({0, 0, 1}), 1, 0, 0);
    expectVector(Vector3{0, 1, 0}.cross({1, 0, 0}), 0, 0, -1);
    expectVector(Vector3{2, 4, 6}.cross({1, 2, 3}), 0, 0, 0);
}

TEST(Matrix4, SetFromQuaternionDividesOutTheLengthAndTakesZeroAsIdentity) {
    const float identity[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const Quaternion q : {Quaternion{0, 0, 0, 1}, Quaternion{0, 0, 0, 0}, Quaternion{0, 0, 0, 2}}) {
        Matrix4 m = filled(7.0f);
        m.setFromQuaternion(q);
        expectBlock(m, identity, 0.0f);
        EXPECT_EQ(m.m[3][3], 7.0f);  // outside the block nothing is written
        EXPECT_EQ(m.m[0][3], 7.0f);
    }
}

TEST(Matrix4, QuarterTurnAboutZTakesXToY) {
    const float s = std::sin(std::numbers::pi_v<float> / 4), c = std::cos(std::numbers::pi_v<float> / 4);
    Matrix4 m;
    m.setFromQuaternion({0, 0, s, c});
    const float expected[3][3] = {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}};
    expectBlock(m, expected, 1e-6f);
    expectVector(Vector3{1, 0, 0}.transformed(m), 0, 1, 0, 1e-6f);
    // A longer quaternion along the same axis is the same turn.
    Matrix4 scaled;
    scaled.setFromQuaternion({0, 0, 3 * s, 3 * c});
    expectBlock(scaled, expected, 1e-6f);
}

TEST(Matrix4, TransformedReadsOnlyTheRotationBlock) {
    Matrix4 m = filled(1000.0f);
    const float block[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m.m[i][j] = block[i][j];
    expectVector(Vector3{1, 10, 100}.transformed(m), 321, 654, 987);
}

TEST(Matrix4, ProductComposesLeftAfterRight) {
    Matrix4 p, q;
    p.setFromQuaternion({0, 0, std::sin(0.3f), std::cos(0.3f)});
    q.setFromQuaternion({std::sin(0.2f), 0, 0, std::cos(0.2f)});
    const Vector3 v{0.3f, -1.5f, 2.0f};
    const Vector3 composed = v.transformed(p * q);
    const Vector3 stepwise = v.transformed(q).transformed(p);
    expectVector(composed, stepwise.x, stepwise.y, stepwise.z, 1e-6f);
    const Vector3 otherOrder = v.transformed(q * p);
    EXPECT_GT(std::fabs(otherOrder.x - composed.x) + std::fabs(otherOrder.z - composed.z), 1e-3f);
}

TEST(Matrix4, SwapXZColumnsMirrorsEachRowAndUndoesItself) {
    Matrix4 m = filled(5.0f);
    const float block[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m.m[i][j] = block[i][j];
    m.swapXZColumns();
    const float swapped[3][3] = {{3, 2, 1}, {6, 5, 4}, {9, 8, 7}};
    expectBlock(m, swapped, 0.0f);
    EXPECT_EQ(m.m[0][3], 5.0f);
    EXPECT_EQ(m.m[3][0], 5.0f);
    m.swapXZColumns();
    expectBlock(m, block, 0.0f);
}

TEST(Matrix4, SetIdentityAndSetZeroFillAllSixteen) {
    Matrix4 m = filled(9.0f);
    m.setIdentity();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(m.m[i][j], i == j ? 1.0f : 0.0f);
    m.setZero();
    for (auto& row : m.m)
        for (float e : row) EXPECT_EQ(e, 0.0f);
}
