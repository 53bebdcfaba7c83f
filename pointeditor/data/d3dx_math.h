#pragma once
// The three matrix helpers of the Direct3D utility library that the frame uses, computed the way
// that library defines them: 4 x 4 floats, row vectors (v' = v x M), translation in row 4,
// left-handed coordinates.

namespace tavo {

struct Vector3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct Matrix {
    float m[4][4] = {}; // m[r][c] is element _(r+1)(c+1)
};

Matrix identityMatrix();
Matrix multiply(const Matrix& a, const Matrix& b); // a then b for row vectors

// Perspective with a vertical field of view in radians; depth 0 at zn and 1 at zf.
Matrix D3DXMatrixPerspectiveFovLH(float fovy, float aspect, float zn, float zf);

// View matrix of an eye looking at `at` with `up` as the rough up direction.
Matrix D3DXMatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);

Matrix D3DXMatrixScaling(float sx, float sy, float sz);

} // namespace tavo
