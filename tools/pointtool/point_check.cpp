#include "tools/pointtool/point_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "pointeditor/data/name_tables.h"
#include "tools/pointtool/point_links.h"

namespace tavo::pointtool {
namespace {

// Parameters that index a name table, by kind: the ones the editor shows by name.
struct NamedParam {
    int kind;
    int param;
    const NameTable* table;
    const char* what;
};

const std::array<NamedParam, 6> NamedParams{{
    {KindWeapon, 2, &WeaponNames, "weapon"},
    {KindPath, 2, &PathActionNames, "path action"},
    {KindHumanInfo, 2, &HumanTypeNames, "human type"},
    {KindSmallObject, 2, &SmallObjectNames, "small object"},
    {KindRandomWeapon, 2, &WeaponNames, "weapon"},
    {KindRandomWeapon, 3, &WeaponNames, "weapon"},
}};

int paramValue(const PointRecord& point, int param) {
    return param == 2 ? point.p2 : point.p3;
}

struct Box {
    float min[3];
    float max[3];
};

std::string joinSlots(const std::vector<int>& holders) {
    std::string text;
    for (std::size_t i = 0; i < holders.size(); ++i) {
        if (i > 0) {
            text += i + 1 == holders.size() ? " and " : ", ";
        }
        text += std::to_string(holders[i]);
    }
    return text;
}

class Checker {
public:
    Checker(const PointFileContents& file, const BlockFileContents* map)
        : file_(file), map_(map), state_(std::make_unique<EditorState>()),
          count_(std::min(static_cast<int>(file.records.size()), MaxPoints)) {
        for (int slot = 0; slot < count_; ++slot) {
            state_->points[slot] = file.records[slot];
            state_->pointUsed[slot] = SlotUsed;
            slotsWithId_[idIndex(file.records[slot].p4)].push_back(slot);
        }
    }

    CheckReport run() {
        checkLength();
        if (map_ != nullptr) {
            mapBox_ = mapBounds();
        }
        for (int slot = 0; slot < count_; ++slot) {
            checkPoint(slot, file_.records[slot]);
        }
        summarise();
        return std::move(report_);
    }

private:
    static int idIndex(int8_t id) { return static_cast<uint8_t>(id); }

    void addFileFinding(Severity severity, std::string message) {
        report_.findings.push_back(Finding{-1, 0, 0, severity, std::move(message), {}});
    }

    void add(int slot, Severity severity, std::string message, std::vector<int> related = {}) {
        const PointRecord& point = file_.records[slot];
        report_.findings.push_back(
            Finding{slot, point.p4, point.p1, severity, std::move(message), std::move(related)});
    }

    void checkLength() {
        const std::size_t read = file_.records.size();
        const std::string readText =
            std::to_string(read) + " complete record" + (read == 1 ? "" : "s") + " read";
        if (!file_.hasCount) {
            addFileFinding(Severity::Error, "the file is " + std::to_string(file_.fileSize) +
                                                " bytes long, too short to hold its count; " +
                                                readText);
            return;
        }
        const int count = file_.declaredCount;
        if (count < 0) {
            addFileFinding(Severity::Warning, "the count is " + std::to_string(count) +
                                                  "; the editor loads no points");
        } else if (count > MaxPoints) {
            addFileFinding(Severity::Warning, "the count is " + std::to_string(count) +
                                                  ", more than the " + std::to_string(MaxPoints) +
                                                  " points the editor loads; " + readText);
        }
        const std::size_t expected =
            2 + static_cast<std::size_t>(std::max(count, 0)) * PointRecordSize;
        if (file_.fileSize != expected) {
            addFileFinding(Severity::Warning,
                           "the count says " + std::to_string(count) + " points (" +
                               std::to_string(expected) + " bytes), but the file is " +
                               std::to_string(file_.fileSize) + " bytes long; " + readText);
        }
    }

    std::optional<Box> mapBounds() {
        if (!map_->hasHeader) {
            addFileFinding(Severity::Warning,
                           "the map file is too short to hold its header; positions not checked");
            return std::nullopt;
        }
        const auto expectedBlocks =
            static_cast<std::size_t>(std::clamp<int>(map_->declaredCount, 0, MaxBlocks));
        if (map_->blocks.size() < expectedBlocks) {
            addFileFinding(Severity::Warning,
                           "the map's count says " + std::to_string(map_->declaredCount) +
                               " blocks, but it holds " + std::to_string(map_->blocks.size()) +
                               " complete ones");
        }
        std::optional<Box> box;
        for (const BlockRecord& block : map_->blocks) {
            if (block.inUse == 0) {
                continue;
            }
            for (int c = 0; c < 8; ++c) {
                const float corner[3] = {block.x[c], block.y[c], block.z[c]};
                if (!std::isfinite(corner[0]) || !std::isfinite(corner[1]) ||
                    !std::isfinite(corner[2])) {
                    continue;
                }
                if (!box) {
                    box = Box{{corner[0], corner[1], corner[2]}, {corner[0], corner[1], corner[2]}};
                }
                for (int a = 0; a < 3; ++a) {
                    box->min[a] = std::min(box->min[a], corner[a]);
                    box->max[a] = std::max(box->max[a], corner[a]);
                }
            }
        }
        if (!box) {
            addFileFinding(Severity::Warning,
                           "the map has no blocks in use; positions not checked");
        }
        return box;
    }

    void checkPoint(int slot, const PointRecord& point) {
        checkKind(slot, point);
        checkNamedParams(slot, point);
        for (const PointLink& link : linksOf(point)) {
            checkLink(slot, point, link);
        }
        checkPosition(slot, point);
    }

    void checkKind(int slot, const PointRecord& point) {
        if (point.p1 == KindUnnamed) {
            add(slot, Severity::Warning, "kind 9 has no name");
        } else if (point.p1 < 1 || point.p1 > LastKind) {
            add(slot, Severity::Warning,
                "kind " + std::to_string(point.p1) + " is not a point kind (1..19)");
        }
    }

    void checkNamedParams(int slot, const PointRecord& point) {
        for (const NamedParam& named : NamedParams) {
            if (named.kind != point.p1) {
                continue;
            }
            const int value = paramValue(point, named.param);
            if (!lookupName(*named.table, value, true)) {
                add(slot, Severity::Warning,
                    "p" + std::to_string(named.param) + " is " + named.what + " " +
                        std::to_string(value) + ", outside the " + named.what + " names (0.." +
                        std::to_string(named.table->count - 1) + ")");
            }
        }
    }

    void checkLink(int slot, const PointRecord& point, const PointLink& link) {
        const std::vector<int>& sharing = slotsWithId_[idIndex(link.id)];
        const int target = findPointById(*state_, link.id);
        const std::string id = std::to_string(link.id);
        // Kinds with two links say which parameter a finding is about.
        const std::string subject = linksOf(point).count > 1
                                        ? "p" + std::to_string(link.param) + " links"
                                        : std::string("links");
        if (link.endsPath) {
            // A path's last point names itself; with its id shared the walk goes on elsewhere.
            if (target != slot) {
                add(slot, Severity::Error,
                    "ends its path on its own id " + id + ", which slots " + joinSlots(sharing) +
                        " share; the link reaches slot " + std::to_string(target),
                    others(sharing, slot));
            }
            return;
        }
        if (target < 0) {
            add(slot, Severity::Error, subject + " to id " + id + ", which no point has");
            return;
        }
        if (sharing.size() > 1) {
            add(slot, Severity::Error,
                subject + " to id " + id + ", which slots " + joinSlots(sharing) +
                    " share; the link reaches slot " + std::to_string(target),
                others(sharing, slot));
        }
        const int targetKind = file_.records[target].p1;
        if (link.role == LinkRole::Event || isPathKind(targetKind)) {
            return;
        }
        const std::string where = "id " + id + " (slot " + std::to_string(target) + ") is " +
                                  kindLabel(targetKind) + ", not PATH or RANDOM PATH";
        if (link.role == LinkRole::PathNext) {
            add(slot, Severity::Warning, "next point " + where, {target});
        } else {
            add(slot, Severity::Warning, "its path " + where, {target});
        }
    }

    void checkPosition(int slot, const PointRecord& point) {
        const float position[4] = {point.x, point.y, point.z, point.r};
        static constexpr const char* names[4] = {"x", "y", "z", "r"};
        bool finite = true;
        for (int a = 0; a < 4; ++a) {
            if (!std::isfinite(position[a])) {
                add(slot, Severity::Warning,
                    std::string(names[a]) + " is " + formatFloat(position[a]) +
                        ", not a finite number");
                finite = false;
            }
        }
        if (!mapBox_ || !finite) {
            return;
        }
        bool inside = true;
        for (int a = 0; a < 3; ++a) {
            inside = inside && position[a] >= mapBox_->min[a] - MapMargin &&
                     position[a] <= mapBox_->max[a] + MapMargin;
        }
        if (!inside) {
            std::string range;
            for (int a = 0; a < 3; ++a) {
                range += std::string(a > 0 ? ", " : "") + names[a] + " " +
                         formatFloat(mapBox_->min[a]) + ".." + formatFloat(mapBox_->max[a]);
            }
            add(slot, Severity::Warning,
                "lies at (" + formatFloat(point.x) + ", " + formatFloat(point.y) + ", " +
                    formatFloat(point.z) + "), more than " + formatFloat(MapMargin) +
                    " units outside the map's blocks (" + range + ")");
        }
    }

    static std::vector<int> others(const std::vector<int>& sharing, int slot) {
        std::vector<int> result;
        std::copy_if(sharing.begin(), sharing.end(), std::back_inserter(result),
                     [slot](int s) { return s != slot; });
        return result;
    }

    void summarise() {
        CheckSummary& summary = report_.summary;
        summary.points = count_;
        for (int slot = 0; slot < count_; ++slot) {
            const PointRecord& point = file_.records[slot];
            summary.humans += isHumanKind(point.p1) ? 1 : 0;
            summary.pathPoints += isPathKind(point.p1) ? 1 : 0;
            summary.events += isEventKind(point.p1) ? 1 : 0;
        }
        for (const Finding& finding : report_.findings) {
            (finding.severity == Severity::Error ? summary.errors : summary.warnings) += 1;
        }
    }

    const PointFileContents& file_;
    const BlockFileContents* map_;
    std::unique_ptr<EditorState> state_;
    int count_;
    std::array<std::vector<int>, 256> slotsWithId_;
    std::optional<Box> mapBox_;
    CheckReport report_;
};

} // namespace

CheckReport checkPoints(const PointFileContents& file, const BlockFileContents* map) {
    return Checker(file, map).run();
}

} // namespace tavo::pointtool
