#pragma once
// The blocks of the map as textured, flat-shaded faces in the 3D pane.

#include <cstdint>

#include "pointeditor/data/d3dx_math.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/view/device/device.h"

namespace tavo {

// Draws every block in use, slot order, faces 0..5, one fan each, into the current scene of
// device. Expects the 3D pane's transforms and states; leaves the last face's texture
// bound. A face whose textureId is outside the ten slots is drawn untextured.
void drawBlockFaces(const EditorState& state, Device& device);

void setVertex(BlockVertex& out, float x, float y, float z, uint32_t colour, float u, float v);

// False when C lies on the line through A and B (within 0.0001), with the longest side equal
// to the sum of the other two. When no side is strictly the longest (coincident corners), true.
bool isNonCollinear(const Vector3& a, const Vector3& b, const Vector3& c);

// (B - A) x (C - B), not normalised.
Vector3 triangleNormal(const Vector3& a, const Vector3& b, const Vector3& c);

// Scales n to unit length in place; a zero vector stays zero.
void normalizeVector(Vector3& n);

// The angle between two unit vectors in radians. The cosine is clamped to -1..1 first: rounding
// may push it just past, where acos has no value.
double angleBetween(const Vector3& p, const Vector3& q);

// The grey 130..255 of a face with unit normal n under the fixed light (193 for a zero normal,
// 255 for a normal that is not a number).
int faceBrightness(const Vector3& lightDirection, const Vector3& normal);

// The opaque grey of face 0..5 of a block under the light.
uint32_t faceColour(const BlockRecord& block, int face, const Vector3& lightDirection);

// The normalised light direction, the way it travels (downwards).
Vector3 lightDirection();

} // namespace tavo
