#include "pointeditor/data/point_links.h"

#include <charconv>

#include "pointeditor/data/name_tables.h"

namespace tavo {

PointLinks linksOf(const PointRecord& point) {
    PointLinks links;
    auto add = [&links](int param, int8_t id, LinkRole role, bool endsPath = false) {
        links.items[links.count++] = PointLink{param, id, role, endsPath};
    };
    const int kind = point.p1;
    if (kind == KindPath) {
        // A grenade-throwing path point draws no direct line, but its successor is still looked
        // through by whoever walks into it, so its p3 matters all the same.
        add(3, point.p3, LinkRole::PathNext, point.p3 == point.p4);
    } else if (kind == KindRandomPath) {
        add(2, point.p2, LinkRole::PathNext);
        add(3, point.p3, LinkRole::PathNext);
    } else if (isHumanKind(kind)) {
        add(3, point.p3, LinkRole::HumanPath);
    } else if (isEventKind(kind)) {
        if (isWaitingEventKind(kind)) {
            add(2, point.p2, LinkRole::Event);
        }
        add(3, point.p3, LinkRole::Event);
    }
    return links;
}

std::string kindLabel(int kind, bool english) {
    if (kind >= 1 && kind <= LastKind) {
        const auto name = lookupName(pointKindNames, kind, english);
        if (name && !name->empty()) {
            return std::string(*name);
        }
    }
    return (english ? "kind " : "種類 ") + std::to_string(kind);
}

std::string formatFloat(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace tavo
