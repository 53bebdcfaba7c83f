#include "pointeditor/data/point_placement.h"

#include <array>
#include <cmath>
#include <string>

#include "pointeditor/data/face_triangles.h"
#include "pointeditor/data/point_kinds.h"
#include "pointeditor/data/point_links.h"

namespace tavo {
namespace {

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
    Point3 at;
    Point3 normal;
};

std::optional<Plane> facePlane(const BlockRecord& block, const BlockFace& face, Point3 centre) {
    // Newell's normal: sound for a quad whose corners are not quite in one plane.
    Point3 normal{0, 0, 0};
    Point3 at{0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const Point3 a = blockCorner(block, face.corners[static_cast<std::size_t>(k)]);
        const Point3 b = blockCorner(block, face.corners[static_cast<std::size_t>((k + 1) % 4)]);
        normal.x += (a.y - b.y) * (a.z + b.z);
        normal.y += (a.z - b.z) * (a.x + b.x);
        normal.z += (a.x - b.x) * (a.y + b.y);
        at = {at.x + a.x / 4, at.y + a.y / 4, at.z + a.z / 4};
    }
    const double length = std::sqrt(dot(normal, normal));
    if (!(length > 0.0)) {
        return std::nullopt; // a face squashed to a line or a point bounds nothing
    }
    normal = {normal.x / length, normal.y / length, normal.z / length};
    if (dot(normal, centre - at) > 0.0) {
        normal = {-normal.x, -normal.y, -normal.z};
    }
    return Plane{at, normal};
}

// Deeper than InsideBlockDepth behind every face that bounds the block.
bool isInside(const BlockRecord& block, Point3 p) {
    Point3 centre{0, 0, 0};
    for (int c = 0; c < 8; ++c) {
        const Point3 v = blockCorner(block, c);
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

bool stands(const BlockRecord& block, Point3 feet) {
    bool standing = false;
    forEachFaceTriangle(block, [&](const Point3& a, const Point3& b, const Point3& c) {
        const std::optional<double> y = heightAbove(a, b, c, feet.x, feet.z);
        standing = standing || (y && *y <= feet.y + SunkenFeet && *y >= feet.y - StandingGap);
    });
    return standing;
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
        const Point3 p{point.x, point.y, point.z};
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
