#include "pointeditor/data/pane_projection.h"

#include <cmath>

#include "pointeditor/data/pane_layout.h"

namespace tavo {

PanePixel mapToPane(const EditorState& state, int pane, float x, float y, float z) {
    // Each step is rounded to a float, in this order, so that the cursor's inverse mapping
    // lands on the same pixels.
    auto scaled = [&](float offset) {
        float pixels = offset * state.zoom;
        return pixels + PaneCentre;
    };
    switch (pane) {
    case TopPane:
        return {scaled(x - state.panX), scaled(-z - state.panZ)};
    case FrontPane:
        return {scaled(x - state.panX), scaled(-y - state.panY)};
    default:
        return {scaled(z + state.panZ), scaled(-y - state.panY)};
    }
}

Matrix perspectiveProjection() {
    return D3DXMatrixPerspectiveFovLH(FieldOfView, 1.0f, NearPlane, FarPlane);
}

Vector3 cameraDirection(const EditorState& state) {
    return {std::cos(state.cameraYaw) * std::sin(state.cameraPitch), std::cos(state.cameraPitch),
            std::sin(state.cameraYaw) * std::sin(state.cameraPitch)};
}

Matrix cameraViewMatrix(const EditorState& state) {
    Vector3 eye{state.cameraX, state.cameraY, state.cameraZ};
    Vector3 d = cameraDirection(state);
    Vector3 target{eye.x + d.x, eye.y + d.y, eye.z + d.z};
    return D3DXMatrixLookAtLH(eye, target, Vector3{0.0f, 1.0f, 0.0f});
}

} // namespace tavo
