#include "pointeditor/data/d3dx_math.h"

#include <cmath>

namespace tavo {

namespace {

Vector3 subtract(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A zero vector stays zero, as the utility library leaves it.
Vector3 normalized(const Vector3& v) {
    float length = std::sqrt(dot(v, v));
    if (length == 0.0f) {
        return v;
    }
    return {v.x / length, v.y / length, v.z / length};
}

} // namespace

Matrix identityMatrix() {
    Matrix result;
    for (int i = 0; i < 4; ++i) {
        result.m[i][i] = 1.0f;
    }
    return result;
}

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[r][k] * b.m[k][c];
            }
            result.m[r][c] = sum;
        }
    }
    return result;
}

Matrix D3DXMatrixPerspectiveFovLH(float fovy, float aspect, float zn, float zf) {
    Matrix result;
    float h = 1.0f / std::tan(fovy / 2.0f);
    float w = h / aspect;
    result.m[0][0] = w;
    result.m[1][1] = h;
    result.m[2][2] = zf / (zf - zn);
    result.m[2][3] = 1.0f;
    result.m[3][2] = -zn * zf / (zf - zn);
    return result;
}

Matrix D3DXMatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up) {
    Vector3 zaxis = normalized(subtract(at, eye));
    Vector3 xaxis = normalized(cross(up, zaxis));
    Vector3 yaxis = cross(zaxis, xaxis);
    Matrix result;
    result.m[0][0] = xaxis.x;
    result.m[0][1] = yaxis.x;
    result.m[0][2] = zaxis.x;
    result.m[1][0] = xaxis.y;
    result.m[1][1] = yaxis.y;
    result.m[1][2] = zaxis.y;
    result.m[2][0] = xaxis.z;
    result.m[2][1] = yaxis.z;
    result.m[2][2] = zaxis.z;
    result.m[3][0] = -dot(xaxis, eye);
    result.m[3][1] = -dot(yaxis, eye);
    result.m[3][2] = -dot(zaxis, eye);
    result.m[3][3] = 1.0f;
    return result;
}

Matrix D3DXMatrixScaling(float sx, float sy, float sz) {
    Matrix result;
    result.m[0][0] = sx;
    result.m[1][1] = sy;
    result.m[2][2] = sz;
    result.m[3][3] = 1.0f;
    return result;
}

} // namespace tavo
