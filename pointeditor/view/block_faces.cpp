#include "pointeditor/view/block_faces.h"

#include <algorithm>
#include <cmath>

#include "pointeditor/data/block_geometry.h"

namespace tavo {

namespace {

constexpr float CollinearTolerance = 0.0001f;
constexpr double DegreesPerRadian = 57.29579162597656; // 180/pi as a float
constexpr double ShadeScale = 0.699999988079071;       // 0.7 as a float

float distance(const Vector3& a, const Vector3& b) {
    float dx = a.x - b.x;
    float dy = a.y - b.y;
    float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

Vector3 corner(const BlockRecord& block, int c) {
    return {block.x[c], block.y[c], block.z[c]};
}

} // namespace

void setVertex(BlockVertex& out, float x, float y, float z, uint32_t colour, float u, float v) {
    out.x = x;
    out.y = y;
    out.z = z;
    out.colour = colour;
    out.u = u;
    out.v = v;
}

bool isNonCollinear(const Vector3& a, const Vector3& b, const Vector3& c) {
    float ab = distance(a, b);
    float bc = distance(b, c);
    float ca = distance(c, a);
    if (ab > bc && ab > ca) {
        return std::fabs(ab - (ca + bc)) >= CollinearTolerance;
    }
    if (bc > ab && bc > ca) {
        return std::fabs(bc - (ca + ab)) >= CollinearTolerance;
    }
    if (ca > ab && ca > bc) {
        return std::fabs(ca - (bc + ab)) >= CollinearTolerance;
    }
    return true;
}

Vector3 triangleNormal(const Vector3& a, const Vector3& b, const Vector3& c) {
    Vector3 d{b.x - a.x, b.y - a.y, b.z - a.z};
    Vector3 e{c.x - b.x, c.y - b.y, c.z - b.z};
    return {d.y * e.z - d.z * e.y, d.z * e.x - d.x * e.z, d.x * e.y - d.y * e.x};
}

void normalizeVector(Vector3& n) {
    float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length == 0.0f) {
        return;
    }
    n.x /= length;
    n.y /= length;
    n.z /= length;
}

double angleBetween(const Vector3& p, const Vector3& q) {
    double cosine = static_cast<double>(p.z) * q.z + static_cast<double>(p.y) * q.y +
                    static_cast<double>(p.x) * q.x;
    return std::acos(std::clamp(cosine, -1.0, 1.0));
}

Vector3 lightDirection() {
    Vector3 light{6.0f, -10.0f, 2.0f};
    normalizeVector(light);
    return light;
}

int faceBrightness(const Vector3& light, const Vector3& normal) {
    double theta = angleBetween(light, normal);
    // A face without a normal (no area, or corners that are no numbers) has no angle to the
    // light, and NaN fits no int. It is drawn white, as the value that used to wrap came out.
    if (std::isnan(theta)) {
        return 255;
    }
    double shade = (180.0 - theta * DegreesPerRadian) * ShadeScale;
    return 255 - static_cast<int>(shade);
}

uint32_t faceColour(const BlockRecord& block, int face, const Vector3& light) {
    const auto& q = BlockFaces[static_cast<std::size_t>(face)].corners;
    Vector3 q0 = corner(block, q[0]);
    Vector3 q1 = corner(block, q[1]);
    Vector3 q2 = corner(block, q[2]);
    // When the first three corners lie on one line the last three give the normal, untested.
    Vector3 normal = isNonCollinear(q0, q1, q2) ? triangleNormal(q0, q1, q2)
                                                : triangleNormal(q1, q2, corner(block, q[3]));
    normalizeVector(normal);
    auto b = static_cast<uint32_t>(faceBrightness(light, normal));
    return 0xFF000000u + b * 0x10000u + b * 0x100u + b;
}

void drawBlockFaces(const EditorState& state, Device& device) {
    const Vector3 light = lightDirection();
    for (const BlockRecord& block : state.blocks) {
        if (block.inUse == 0) {
            continue;
        }
        for (int f = 0; f < 6; ++f) {
            int slot = block.textureId[f];
            device.setTexture(slot >= 0 && slot < TextureCount
                                  ? state.textures[static_cast<std::size_t>(slot)].get()
                                  : nullptr);
            const auto& q = BlockFaces[static_cast<std::size_t>(f)].corners;
            const uint32_t colour = faceColour(block, f, light);
            BlockVertex vertices[4];
            for (int k = 0; k < 4; ++k) {
                setVertex(vertices[k], block.x[q[k]], block.y[q[k]], block.z[q[k]], colour,
                          block.u[f][k], block.v[f][k]);
            }
            device.drawPrimitiveUP(PrimitiveType::TriangleFan, 2, vertices);
        }
    }
}

} // namespace tavo
