#include "pointeditor/data/point_placement.h"

#include <array>
#include <cmath>
#include <string>

#include "pointeditor/data/block_geometry.h"
#include "pointeditor/data/point_kinds.h"
#include "pointeditor/data/point_links.h"

namespace tavo {
namespace {

struct Vec {
    float x, y, z;
};

Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

float dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec corner(const BlockRecord& block, int c) {
    return {block.x[c], block.y[c], block.z[c]};
}

bool finiteBlock(const BlockRecord& block) {
    for (int c = 0; c < 8; ++c) {
        if (!std::isfinite(block.x[c]) || !std::isfinite(block.y[c]) ||
            !std::isfinite(block.z[c])) {
            return false;
        }
    }
    return true;
}

// A face as a plane: its corners' centre and its unit normal, facing away from the block's
// centre whatever order the author gave the corners in.
struct Plane {
    Vec at;
    Vec normal;
};

std::optional<Plane> facePlane(const BlockRecord& block, const BlockFace& face, Vec centre) {
    // Newell's normal: sound for a quad whose corners are not quite in one plane.
    Vec normal{0, 0, 0};
    Vec at{0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const Vec a = corner(block, face.corners[static_cast<std::size_t>(k)]);
        const Vec b = corner(block, face.corners[static_cast<std::size_t>((k + 1) % 4)]);
        normal.x += (a.y - b.y) * (a.z + b.z);
        normal.y += (a.z - b.z) * (a.x + b.x);
        normal.z += (a.x - b.x) * (a.y + b.y);
        at = {at.x + a.x / 4, at.y + a.y / 4, at.z + a.z / 4};
    }
    const float length = std::sqrt(dot(normal, normal));
    if (!(length > 0.0f)) {
        return std::nullopt; // a face squashed to a line or a point bounds nothing
    }
    normal = {normal.x / length, normal.y / length, normal.z / length};
    if (dot(normal, centre - at) > 0.0f) {
        normal = {-normal.x, -normal.y, -normal.z};
    }
    return Plane{at, normal};
}

// Deeper than InsideBlockDepth behind every face that bounds the block.
bool isInside(const BlockRecord& block, Vec p) {
    Vec centre{0, 0, 0};
    for (int c = 0; c < 8; ++c) {
        const Vec v = corner(block, c);
        centre = {centre.x + v.x / 8, centre.y + v.y / 8, centre.z + v.z / 8};
    }
    bool bounded = false; // a block squashed to a line or a point holds nothing
    for (const BlockFace& face : BlockFaces) {
        const std::optional<Plane> plane = facePlane(block, face, centre);
        if (!plane) {
            continue;
        }
        bounded = true;
        if (dot(plane->normal, p - plane->at) >= -InsideBlockDepth) {
            return false;
        }
    }
    return bounded;
}

// The height of triangle (a, b, c) straight above or below p, when p lies over it.
std::optional<float> heightOver(Vec a, Vec b, Vec c, Vec p) {
    const float area = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
    if (area == 0.0f) {
        return std::nullopt; // an upright triangle: seen from above it is a line
    }
    const float u = ((p.x - a.x) * (c.z - a.z) - (c.x - a.x) * (p.z - a.z)) / area;
    const float v = ((b.x - a.x) * (p.z - a.z) - (p.x - a.x) * (b.z - a.z)) / area;
    if (u < 0.0f || v < 0.0f || u + v > 1.0f) {
        return std::nullopt;
    }
    return a.y + u * (b.y - a.y) + v * (c.y - a.y);
}

bool stands(const BlockRecord& block, Vec feet) {
    for (const BlockFace& face : BlockFaces) {
        const auto& q = face.corners;
        const Vec q0 = corner(block, q[0]);
        for (int t = 1; t <= 2; ++t) {
            const auto k = static_cast<std::size_t>(t);
            const std::optional<float> y =
                heightOver(q0, corner(block, q[k]), corner(block, q[k + 1]), feet);
            if (y && *y <= feet.y + SunkenFeet && *y >= feet.y - StandingGap) {
                return true;
            }
        }
    }
    return false;
}

Finding placementFinding(int slot, const PointRecord& point, std::string message,
                         std::string japanese) {
    return Finding{
        slot, point.p4, point.p1, Severity::Warning, std::move(message), std::move(japanese), {}};
}

} // namespace

std::vector<Finding> placementFindings(const PointTable& table, const BlockFileContents& map) {
    std::vector<const BlockRecord*> blocks;
    std::vector<int> blockSlots;
    for (std::size_t b = 0; b < map.blocks.size(); ++b) {
        if (map.blocks[b].inUse != 0 && finiteBlock(map.blocks[b])) {
            blocks.push_back(&map.blocks[b]);
            blockSlots.push_back(static_cast<int>(b));
        }
    }
    std::vector<Finding> findings;
    if (blocks.empty()) {
        return findings; // the link check says why positions were not checked
    }
    const std::string depth = formatFloat(InsideBlockDepth);
    const std::string gap = formatFloat(StandingGap);
    for (int slot = 0; slot < MaxPoints; ++slot) {
        const PointRecord& point = table.points[static_cast<std::size_t>(slot)];
        const Vec p{point.x, point.y, point.z};
        if (table.pointUsed[static_cast<std::size_t>(slot)] == SlotFree || !std::isfinite(p.x) ||
            !std::isfinite(p.y) || !std::isfinite(p.z)) {
            continue;
        }
        const bool human = isHumanKind(point.p1);
        if (human || point.p1 == KindWeapon || point.p1 == KindRandomWeapon) {
            for (std::size_t b = 0; b < blocks.size(); ++b) {
                if (isInside(*blocks[b], p)) {
                    const std::string block = std::to_string(blockSlots[b]);
                    findings.push_back(
                        placementFinding(slot, point,
                                         "lies inside block " + block + ", more than " + depth +
                                             " units behind each of its faces",
                                         "ブロック " + block + " の内部にあります（どの面からも " +
                                             depth + " 単位より内側）"));
                    break;
                }
            }
        }
        if (!human) {
            continue;
        }
        bool supported = false;
        for (const BlockRecord* block : blocks) {
            supported = supported || stands(*block, p);
        }
        if (!supported) {
            const std::string y = formatFloat(point.y);
            findings.push_back(placementFinding(slot, point,
                                                "floats: no face of the map lies within " + gap +
                                                    " units below its feet (y " + y + ")",
                                                "浮いています。足元 (y " + y + ") から " + gap +
                                                    " 単位以内の下に面がありません"));
        }
    }
    return findings;
}

} // namespace tavo
