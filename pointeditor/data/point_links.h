#pragma once
// How points name one another: the parameters that hold the id of another point, by kind. These
// are the links the editor draws as lines between points, so a link that names no point, or a
// shared id, shows up there as a missing or misdirected line.

#include <array>
#include <cstdint>
#include <string>

#include "pointeditor/data/point_kinds.h"
#include "pointeditor/data/records.h"

namespace tavo {

enum class LinkRole {
    PathNext,  // a path point's successor
    HumanPath, // the path a human walks
    Event,     // the point an event refers to
};

struct PointLink {
    int param = 3; // 2 or 3: p2 or p3 holds the id
    int8_t id = 0;
    LinkRole role = LinkRole::Event;
    bool endsPath = false; // a PATH point naming its own id: the last point of its path
};

struct PointLinks {
    std::array<PointLink, 2> items{};
    int count = 0;
    const PointLink* begin() const { return items.data(); }
    const PointLink* end() const { return items.data() + count; }
};

// The links of one point, p2 before p3.
PointLinks linksOf(const PointRecord& point);

// The name of a kind, or "kind N" ("種類 N") for one without a name.
std::string kindLabel(int kind, bool english = true);

// The shortest decimal text that reads back as the same float ("0.1", "-0", "1e-45", "nan").
std::string formatFloat(float value);

} // namespace tavo
