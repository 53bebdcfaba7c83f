#include "pointeditor/edit/surfaces.h"

#include <cmath>

#include "pointeditor/data/face_triangles.h"
#include "pointeditor/data/pane_layout.h"
#include "pointeditor/data/pane_projection.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/selection.h"

namespace tavo {
namespace {

// Calls triangle(a, b, c) for both triangles of every face of every block in use, the fan the
// 3D pane draws each face as.
template <typename Triangle> void forEachFaceTriangle(const EditorState& state, Triangle triangle) {
    for (const BlockRecord& block : state.blocks) {
        if (block.inUse != 0) {
            forEachFaceTriangle(block, triangle);
        }
    }
}

// Where along the ray origin + t * direction it meets triangle (a, b, c), from either side.
std::optional<double> rayMeets(const Point3& origin, const Point3& direction, const Point3& a,
                               const Point3& b, const Point3& c) {
    const Point3 ab = b - a;
    const Point3 ac = c - a;
    const Point3 p = cross(direction, ac);
    const double det = dot(ab, p);
    if (std::fabs(det) < Parallel) {
        return std::nullopt;
    }
    const Point3 s = origin - a;
    const double u = dot(s, p) / det;
    const Point3 q = cross(s, ab);
    const double v = dot(direction, q) / det;
    if (u < -EdgeSlack || v < -EdgeSlack || u + v > 1.0 + EdgeSlack) {
        return std::nullopt;
    }
    return dot(ac, q) / det;
}

bool shiftAloneDown(const EditorState& state) {
    return state.platform != nullptr && state.platform->shiftDown() &&
           !state.platform->controlDown();
}

std::optional<Vector3> faceUnderPointer(const EditorState& state) {
    if (state.hoverView != PerspectivePane || !shiftAloneDown(state)) {
        return std::nullopt;
    }
    const PaneOrigin origin = paneOrigin(PerspectivePane);
    return faceUnderPanePixel(state, state.mouseX - origin.left, state.mouseY - origin.top);
}

} // namespace

std::optional<Vector3> faceUnderPanePixel(const EditorState& state, int x, int y) {
    // The pixel's direction in view space, one view unit deep: the projection's inverse at the
    // pixel's centre (pixel centres lie on whole coordinates, the pane's centre on the axis).
    const Matrix projection = perspectiveProjection();
    const double across = (x - PaneCentre) / PaneCentre / projection.m[0][0];
    const double up = (PaneCentre - y) / PaneCentre / projection.m[1][1];
    // Rows 0..2 of the view matrix hold the camera's axes as columns; the ray goes back to the
    // world through them, and out of the 3D pane's half scale.
    const Matrix view = cameraViewMatrix(state);
    Point3 direction{};
    double* axes[3] = {&direction.x, &direction.y, &direction.z};
    for (int row = 0; row < 3; ++row) {
        *axes[row] = (across * view.m[row][0] + up * view.m[row][1] + view.m[row][2]) / WorldScale;
    }
    const Point3 eye{state.cameraX / WorldScale, state.cameraY / WorldScale,
                     state.cameraZ / WorldScale};
    // t counts view units of depth, so the planes that clip the picture clip the ray too.
    std::optional<double> nearest;
    forEachFaceTriangle(state, [&](const Point3& a, const Point3& b, const Point3& c) {
        const std::optional<double> t = rayMeets(eye, direction, a, b, c);
        if (t && *t >= NearPlane && *t <= FarPlane && (!nearest || *t < *nearest)) {
            nearest = t;
        }
    });
    if (!nearest) {
        return std::nullopt;
    }
    return Vector3{static_cast<float>(eye.x + *nearest * direction.x),
                   static_cast<float>(eye.y + *nearest * direction.y),
                   static_cast<float>(eye.z + *nearest * direction.z)};
}

std::optional<float> floorBelow(const EditorState& state, float x, float y, float z) {
    std::optional<double> highest;
    forEachFaceTriangle(state, [&](const Point3& a, const Point3& b, const Point3& c) {
        const std::optional<double> height = heightAbove(a, b, c, x, z);
        if (height && *height <= y && (!highest || *height > *highest)) {
            highest = height;
        }
    });
    if (!highest) {
        return std::nullopt;
    }
    return static_cast<float>(*highest);
}

void updateSurfaceCursor(EditorState& state) {
    const std::optional<Vector3> hit = faceUnderPointer(state);
    state.surfaceHit = hit.has_value();
    if (hit) {
        state.surfaceX = hit->x;
        state.surfaceY = hit->y;
        state.surfaceZ = hit->z;
    }
}

Vector3 newPointPosition(const EditorState& state) {
    return faceUnderPointer(state).value_or(Vector3{state.cursorX, state.cursorY, state.cursorZ});
}

void dropSelectionToFloor(EditorState& state) {
    int stayed = 0;
    forEachSelected(state.pointTable, [&](int, PointRecord& point) {
        if (const std::optional<float> floor = floorBelow(state, point.x, point.y, point.z)) {
            point.y = *floor;
        } else {
            ++stayed;
        }
    });
    state.pointsWithoutFloor = stayed;
}

} // namespace tavo
