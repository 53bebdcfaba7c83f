#include "pointeditor/view/point_markers.h"

#include <cstdlib>

#include "pointeditor/data/point_kinds.h"
#include "pointeditor/view/device/device.h"

namespace tavo {

uint32_t pointColour(const EditorState& state, int slot) {
    auto index = static_cast<std::size_t>(slot);
    if (state.pointTable.pointUsed[index] == SlotSelected) {
        return SelectedPointColour;
    }
    // The kind is a signed byte; -128 gives 128, palette entry 3.
    int kind = std::abs(static_cast<int>(state.pointTable.points[index].p1));
    return kindPalette[static_cast<std::size_t>(kind % 5)];
}

void drawPointMarkers(const EditorState& state, Device& device) {
    device.setTexture(nullptr);
    const float s = (11.0f - state.zoom) * 0.6f + 0.1f;
    for (int i = 0; i < MaxPoints; ++i) {
        if (state.pointTable.pointUsed[static_cast<std::size_t>(i)] == SlotFree) {
            continue;
        }
        const PointRecord& p = state.pointTable.points[static_cast<std::size_t>(i)];
        const uint32_t colour = pointColour(state, i);
        const float arms[3][2][3] = {
            {{p.x + s, p.y, p.z}, {p.x - s, p.y, p.z}},
            {{p.x, p.y + s, p.z}, {p.x, p.y - s, p.z}},
            {{p.x, p.y, p.z + s}, {p.x, p.y, p.z - s}},
        };
        for (const auto& arm : arms) {
            BlockVertex segment[2] = {
                {arm[0][0], arm[0][1], arm[0][2], colour, 0.0f, 0.0f},
                {arm[1][0], arm[1][1], arm[1][2], colour, 0.0f, 0.0f},
            };
            device.drawPrimitiveUP(PrimitiveType::LineStrip, 1, segment);
        }
    }
}

namespace {

constexpr uint32_t PathColour = 0xFFFFFF00;
constexpr uint32_t BranchColour = 0x8CFFFF00;
constexpr uint32_t GrenadeColour = 0x9628FF28;
constexpr uint32_t EventColour = 0xFF00FFFF;
constexpr uint32_t EventSecondColour = 0x80FFFFFF;
constexpr uint32_t HumanColour = 0xA0FFFF00;
constexpr uint32_t SpecialIdColour = 0xB400FF00;
constexpr float SpecialIdArm = 8.0f;

class LinkLineBuilder {
public:
    LinkLineBuilder(const EditorState& state, LinkLines& out) : state_(state), out_(out) {}

    const PointRecord& point(int slot) const {
        return state_.pointTable.points[static_cast<std::size_t>(slot)];
    }
    bool used(int slot) const {
        return state_.pointTable.pointUsed[static_cast<std::size_t>(slot)] != SlotFree;
    }
    int target(int8_t id) const { return findPointById(state_.pointTable, id); }

    bool isGrenadePath(int slot) const {
        return point(slot).p1 == KindPath && point(slot).p2 == PathActionGrenade;
    }

    void add(float fx, float fy, float fz, float tx, float ty, float tz, uint32_t colour) {
        if (out_.count >= MaxLinkLines) {
            return;
        }
        out_.lines[static_cast<std::size_t>(out_.count++)] = {fx, fy, fz, tx, ty, tz, colour};
    }

    // A line between two slots; a missing target (-1) adds nothing.
    void link(int from, int to, uint32_t colour) {
        if (to < 0) {
            return;
        }
        const PointRecord& a = point(from);
        const PointRecord& b = point(to);
        add(a.x, a.y, a.z, b.x, b.y, b.z, colour);
    }

private:
    const EditorState& state_;
    LinkLines& out_;
};

void addPathLines(LinkLineBuilder& lines, int i) {
    const PointRecord& p = lines.point(i);
    const bool random = p.p1 == KindRandomPath;

    if (random || p.p2 != PathActionGrenade) {
        int j = lines.target(p.p3);
        uint32_t colour = PathColour;
        if (random || (j >= 0 && lines.point(j).p1 == KindRandomPath)) {
            colour = BranchColour;
        }
        if (j >= 0 && lines.isGrenadePath(j)) {
            colour = GrenadeColour;
        }
        lines.link(i, j, colour);
    }
    if (random) {
        lines.link(i, lines.target(p.p2), BranchColour);
    }

    // A branch point is looked through: the predecessor also joins the points behind it.
    int successors[2] = {lines.target(p.p3), random ? lines.target(p.p2) : -1};
    for (int j : successors) {
        if (j < 0) {
            continue;
        }
        const PointRecord& next = lines.point(j);
        if (next.p1 == KindRandomPath) {
            lines.link(i, lines.target(next.p2), PathColour);
            lines.link(i, lines.target(next.p3), PathColour);
        } else if (lines.isGrenadePath(j)) {
            lines.link(i, lines.target(next.p3), PathColour);
        }
    }
}

} // namespace

LinkLines buildLinkLines(const EditorState& state) {
    LinkLines out;
    LinkLineBuilder lines(state, out);
    for (int i = 0; i < MaxPoints; ++i) {
        int8_t kind = lines.point(i).p1;
        if (lines.used(i) && isPathKind(kind)) {
            addPathLines(lines, i);
        }
    }
    for (int i = 0; i < MaxPoints; ++i) {
        const PointRecord& p = lines.point(i);
        if (lines.used(i) && isEventKind(p.p1)) {
            lines.link(i, lines.target(p.p3), EventColour);
        }
    }
    for (int i = 0; i < MaxPoints; ++i) {
        const PointRecord& p = lines.point(i);
        if (lines.used(i) && isWaitingEventKind(p.p1)) {
            lines.link(i, lines.target(p.p2), EventSecondColour);
        }
    }
    for (int i = 0; i < MaxPoints; ++i) {
        const PointRecord& p = lines.point(i);
        if (lines.used(i) && isHumanKind(p.p1)) {
            lines.link(i, lines.target(p.p3), HumanColour);
        }
    }
    for (int i = 0; i < MaxPoints; ++i) {
        const PointRecord& p = lines.point(i);
        if (!lines.used(i) || !isSpecialId(p.p4)) {
            continue;
        }
        const float a = SpecialIdArm;
        lines.add(p.x + a, p.y, p.z + a, p.x - a, p.y, p.z - a, SpecialIdColour);
        lines.add(p.x - a, p.y, p.z + a, p.x + a, p.y, p.z - a, SpecialIdColour);
    }
    return out;
}

} // namespace tavo
