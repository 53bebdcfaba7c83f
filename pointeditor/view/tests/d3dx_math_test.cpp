// The three matrix helpers against values worked out by hand, and the camera they make.

#include <gtest/gtest.h>

#include <cmath>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/view/d3dx_math.h"
#include "pointeditor/view/render_panes.h"

namespace tavo {
namespace {

void expectMatrix(const Matrix& actual, const float (&expected)[4][4]) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual.m[r][c], expected[r][c], 1e-5f) << "_" << r + 1 << c + 1;
        }
    }
}

Vector3 transformPoint(const Matrix& m, const Vector3& v) {
    float out[4];
    for (int c = 0; c < 4; ++c) {
        out[c] = v.x * m.m[0][c] + v.y * m.m[1][c] + v.z * m.m[2][c] + m.m[3][c];
    }
    return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

TEST(D3dxMatrix, PerspectiveFovLH) {
    // fovy 90 degrees: cot(45) = 1; aspect 2 halves the x scale; zn 1, zf 11.
    Matrix m = D3DXMatrixPerspectiveFovLH(1.5707964f, 2.0f, 1.0f, 11.0f);
    const float expected[4][4] = {{0.5f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1.1f, 1}, {0, 0, -1.1f, 0}};
    expectMatrix(m, expected);
    // Depth runs 0 at the near plane to 1 at the far plane.
    EXPECT_NEAR(transformPoint(m, {0, 0, 1}).z, 0.0f, 1e-6f);
    EXPECT_NEAR(transformPoint(m, {0, 0, 11}).z, 1.0f, 1e-6f);
}

TEST(D3dxMatrix, LookAtLHFromAboveAndBehind) {
    // Eye at (0, 0, -5) looking at the origin: axes unchanged, the eye 5 behind.
    Matrix straight = D3DXMatrixLookAtLH({0, 0, -5}, {0, 0, 0}, {0, 1, 0});
    const float expectedStraight[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 5, 1}};
    expectMatrix(straight, expectedStraight);

    // Eye at (3, 0, 0) looking towards -x: the view's z axis is world -x, its x axis world +z.
    Matrix side = D3DXMatrixLookAtLH({3, 0, 0}, {0, 0, 0}, {0, 1, 0});
    const float expectedSide[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 3, 1}};
    expectMatrix(side, expectedSide);
}

TEST(D3dxMatrix, Scaling) {
    const float expected[4][4] = {{0.5f, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, -3, 0}, {0, 0, 0, 1}};
    expectMatrix(D3DXMatrixScaling(0.5f, 2.0f, -3.0f), expected);
}

TEST(Camera, InitialCameraLooksFromAboveTowardsTheOrigin) {
    EditorState state;
    Vector3 d = cameraDirection(state);
    EXPECT_NEAR(d.x, -0.579f, 0.001f);
    EXPECT_NEAR(d.y, -0.574f, 0.001f);
    EXPECT_NEAR(d.z, 0.579f, 0.001f);
    EXPECT_NEAR(d.x * d.x + d.y * d.y + d.z * d.z, 1.0f, 1e-6f);

    // The world origin (the view draws at half size) lies ahead, near the middle of the pane.
    Matrix view = cameraViewMatrix(state);
    Vector3 origin = transformPoint(view, {0, 0, 0});
    EXPECT_GT(origin.z, 80.0f);
    EXPECT_LT(std::fabs(origin.x), 0.01f);
    EXPECT_LT(std::fabs(origin.y), 0.05f * origin.z);
}

} // namespace
} // namespace tavo
