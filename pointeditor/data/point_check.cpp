#include "pointeditor/data/point_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "pointeditor/data/name_tables.h"
#include "pointeditor/data/point_links.h"

namespace tavo {
namespace {

// Parameters that index a name table, by kind: the ones the editor shows by name.
struct NamedParam {
    int kind;
    int param;
    const NameTable* table;
    const char* what;
    const char* whatJapanese;
};

const std::array<NamedParam, 6> NamedParams{{
    {KindWeapon, 2, &weaponNames, "weapon", "武器"},
    {KindPath, 2, &pathActionNames, "path action", "パスの動作"},
    {KindHumanInfo, 2, &humanTypeNames, "human type", "人の種類"},
    {KindSmallObject, 2, &smallObjectNames, "small object", "小物"},
    {KindRandomWeapon, 2, &weaponNames, "weapon", "武器"},
    {KindRandomWeapon, 3, &weaponNames, "weapon", "武器"},
}};

int paramValue(const PointRecord& point, int param) {
    return param == 2 ? point.p2 : point.p3;
}

struct Box {
    float min[3];
    float max[3];
};

using std::to_string;

std::string joinSlots(const std::vector<int>& holders, bool english) {
    std::string text;
    for (std::size_t i = 0; i < holders.size(); ++i) {
        if (i > 0) {
            text += english && i + 1 == holders.size() ? " and " : ", ";
        }
        text += to_string(holders[i]);
    }
    return text;
}

Finding fileFinding(Severity severity, std::string message, std::string japanese) {
    return Finding{-1, 0, 0, severity, std::move(message), std::move(japanese), {}};
}

Finding pointFinding(int slot, const PointRecord& point, Severity severity, std::string message,
                     std::string japanese, std::vector<int> related = {}) {
    return Finding{slot,
                   point.p4,
                   point.p1,
                   severity,
                   std::move(message),
                   std::move(japanese),
                   std::move(related)};
}

// The count against the length: a file the editor wrote is exactly its count of records long.
void addLengthFindings(const PointFileContents& file, std::vector<Finding>& out) {
    const std::size_t read = file.records.size();
    const std::string readText =
        to_string(read) + " complete record" + (read == 1 ? "" : "s") + " read";
    const std::string readJapanese = "完全なレコード " + to_string(read) + " 個を読み込み";
    const std::string size = to_string(file.fileSize);
    if (!file.hasCount) {
        out.push_back(fileFinding(
            Severity::Error,
            "the file is " + size + " bytes long, too short to hold its count; " + readText,
            "ファイルは " + size + " バイトで、個数を持つには短すぎます。" + readJapanese));
        return;
    }
    const int count = file.declaredCount;
    if (count < 0) {
        // A negative count stands for no records at all, so there is no length to compare with;
        // what follows it is told as what the editor leaves unread.
        const std::size_t after = file.fileSize - PointCountSize;
        const std::size_t records = after / PointRecordSize;
        const std::string whole = to_string(records);
        out.push_back(fileFinding(
            Severity::Warning,
            "the count is " + to_string(count) + "; the editor loads no points" +
                (after == 0 ? ""
                            : ", though " + to_string(after) + " bytes follow it (" + whole +
                                  " complete record" + (records == 1 ? ")" : "s)")),
            "個数が " + to_string(count) + " です。エディタはポイントを読み込みません" +
                (after == 0 ? ""
                            : "（後に " + to_string(after) + " バイト、完全なレコード " + whole +
                                  " 個が続きます）")));
        return;
    }
    if (count > MaxPoints) {
        out.push_back(fileFinding(Severity::Warning,
                                  "the count is " + to_string(count) + ", more than the " +
                                      to_string(MaxPoints) + " points the editor loads; " +
                                      readText,
                                  "個数が " + to_string(count) + " で、エディタが読み込む " +
                                      to_string(MaxPoints) + " 個を超えています。" + readJapanese));
    }
    const std::size_t expected = PointCountSize + static_cast<std::size_t>(count) * PointRecordSize;
    if (file.fileSize != expected) {
        out.push_back(fileFinding(
            Severity::Warning,
            "the count says " + to_string(count) + " points (" + to_string(expected) +
                " bytes), but the file is " + size + " bytes long; " + readText,
            "個数は " + to_string(count) + " 個 (" + to_string(expected) +
                " バイト) ですが、ファイルは " + size + " バイトです。" + readJapanese));
    }
}

// Positions and the heading that are not finite numbers; false when there was one.
bool addNonFiniteFindings(int slot, const PointRecord& point, std::vector<Finding>& out) {
    const float values[4] = {point.x, point.y, point.z, point.r};
    static constexpr const char* names[4] = {"x", "y", "z", "r"};
    bool finite = true;
    for (int a = 0; a < 4; ++a) {
        if (!std::isfinite(values[a])) {
            const std::string value = formatFloat(values[a]);
            out.push_back(pointFinding(
                slot, point, Severity::Warning,
                std::string(names[a]) + " is " + value + ", not a finite number",
                std::string(names[a]) + " が " + value + " で、有限の数ではありません"));
            finite = false;
        }
    }
    return finite;
}

class Checker {
public:
    Checker(const PointTable& table, const PointFileContents* file, const BlockFileContents* map)
        : table_(table), file_(file), map_(map) {
        for (int slot = 0; slot < MaxPoints; ++slot) {
            if (table.pointUsed[slot] != SlotFree) {
                slotsWithId_[idIndex(table.points[slot].p4)].push_back(slot);
            }
        }
    }

    CheckReport run() {
        if (file_ != nullptr) {
            addLengthFindings(*file_, report_.findings);
        }
        if (map_ != nullptr) {
            mapBox_ = mapBounds();
        }
        for (int slot = 0; slot < MaxPoints; ++slot) {
            if (table_.pointUsed[slot] != SlotFree) {
                checkPoint(slot, table_.points[slot]);
            }
        }
        summarise();
        return std::move(report_);
    }

private:
    static int idIndex(int8_t id) { return static_cast<uint8_t>(id); }

    void addFileFinding(std::string message, std::string japanese) {
        report_.findings.push_back(
            fileFinding(Severity::Warning, std::move(message), std::move(japanese)));
    }

    void add(int slot, Severity severity, std::string message, std::string japanese,
             std::vector<int> related = {}) {
        report_.findings.push_back(pointFinding(slot, table_.points[slot], severity,
                                                std::move(message), std::move(japanese),
                                                std::move(related)));
    }

    std::optional<Box> mapBounds() {
        if (!map_->hasHeader) {
            addFileFinding("the map file is too short to hold its header; positions not checked",
                           "マップファイルはヘッダーより短いため、位置は確認していません");
            return std::nullopt;
        }
        const auto expectedBlocks =
            static_cast<std::size_t>(std::clamp<int>(map_->declaredCount, 0, MaxBlocks));
        if (map_->blocks.size() < expectedBlocks) {
            const std::string declared = to_string(map_->declaredCount);
            const std::string held = to_string(map_->blocks.size());
            addFileFinding("the map's count says " + declared + " blocks, but it holds " + held +
                               " complete ones",
                           "マップの個数は " + declared + " ブロックですが、完全なブロックは " +
                               held + " 個です");
        }
        std::optional<Box> box;
        int inUse = 0;
        for (const BlockRecord& block : map_->blocks) {
            if (block.inUse == 0) {
                continue;
            }
            ++inUse;
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
        if (!box && inUse == 0) {
            addFileFinding("the map has no blocks in use; positions not checked",
                           "マップに使用中のブロックがないため、位置は確認していません");
        } else if (!box) {
            const std::string n = to_string(inUse);
            addFileFinding(
                (inUse == 1 ? "the map's one block in use has"
                            : "the map's " + n + " blocks in use all have") +
                    std::string(" corners that are not finite numbers; positions not checked"),
                "マップの使用中のブロック " + n +
                    " 個の頂点はどれも有限の数ではないため、位置は確認していません");
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
        const std::string kind = to_string(point.p1);
        if (point.p1 == KindUnnamed) {
            add(slot, Severity::Warning, "kind 9 has no name", "種類 9 には名前がありません");
        } else if (point.p1 < 1 || point.p1 > LastKind) {
            add(slot, Severity::Warning, "kind " + kind + " is not a point kind (1..19)",
                "種類 " + kind + " はポイントの種類 (1..19) ではありません");
        }
    }

    void checkNamedParams(int slot, const PointRecord& point) {
        for (const NamedParam& named : NamedParams) {
            if (named.kind != point.p1) {
                continue;
            }
            const int value = paramValue(point, named.param);
            if (!lookupName(*named.table, value, true)) {
                const std::string param = "p" + to_string(named.param);
                const std::string range = "(0.." + to_string(named.table->count - 1) + ")";
                add(slot, Severity::Warning,
                    param + " is " + named.what + " " + to_string(value) + ", outside the " +
                        named.what + " names " + range,
                    param + " の" + named.whatJapanese + " " + to_string(value) + " は" +
                        named.whatJapanese + "の名前 " + range + " の範囲外です");
            }
        }
    }

    void checkLink(int slot, const PointRecord& point, const PointLink& link) {
        const std::vector<int>& sharing = slotsWithId_[idIndex(link.id)];
        const int target = findPointById(table_, link.id);
        const std::string id = to_string(link.id);
        // Kinds with two links say which parameter a finding is about.
        const bool two = linksOf(point).count > 1;
        const std::string param = "p" + to_string(link.param);
        const std::string subject = two ? param + " links" : std::string("links");
        const std::string subjectJapanese = two ? param + " のリンク先" : std::string("リンク先");
        const std::string reaches = "; the link reaches slot " + to_string(target);
        const std::string reachesJapanese =
            "、リンクはスロット " + to_string(target) + " に届きます";
        if (link.endsPath) {
            // A path's last point names itself; with its id shared the walk goes on elsewhere.
            if (target != slot) {
                add(slot, Severity::Error,
                    "ends its path on its own id " + id + ", which slots " +
                        joinSlots(sharing, true) + " share" + reaches,
                    "自分の識別番号 " + id + " でパスを終えますが、スロット " +
                        joinSlots(sharing, false) + " が同じ番号を持ち" + reachesJapanese,
                    others(sharing, slot));
            }
            return;
        }
        if (target < 0) {
            add(slot, Severity::Error, subject + " to id " + id + ", which no point has",
                subjectJapanese + "の識別番号 " + id + " を持つポイントがありません");
            return;
        }
        if (sharing.size() > 1) {
            add(slot, Severity::Error,
                subject + " to id " + id + ", which slots " + joinSlots(sharing, true) + " share" +
                    reaches,
                subjectJapanese + "の識別番号 " + id + " はスロット " + joinSlots(sharing, false) +
                    " が共有しており" + reachesJapanese,
                others(sharing, slot));
        }
        const int targetKind = table_.points[target].p1;
        if (link.role == LinkRole::Event || isPathKind(targetKind)) {
            return;
        }
        const std::string where = "id " + id + " (slot " + to_string(target) + ") is " +
                                  kindLabel(targetKind, true) + ", not PATH or RANDOM PATH";
        const std::string whereJapanese = "識別番号 " + id + " (スロット " + to_string(target) +
                                          ") は" + kindLabel(targetKind, false) +
                                          "で、パスでもランダムパスでもありません";
        if (link.role == LinkRole::PathNext) {
            add(slot, Severity::Warning, "next point " + where, "次のポイント " + whereJapanese,
                {target});
        } else {
            add(slot, Severity::Warning, "its path " + where, "歩くパス " + whereJapanese,
                {target});
        }
    }

    void checkPosition(int slot, const PointRecord& point) {
        if (!addNonFiniteFindings(slot, point, report_.findings) || !mapBox_) {
            return;
        }
        const float position[3] = {point.x, point.y, point.z};
        bool inside = true;
        for (int a = 0; a < 3; ++a) {
            inside = inside && position[a] >= mapBox_->min[a] - MapMargin &&
                     position[a] <= mapBox_->max[a] + MapMargin;
        }
        if (inside) {
            return;
        }
        static constexpr const char* names[3] = {"x", "y", "z"};
        std::string range;
        for (int a = 0; a < 3; ++a) {
            range += std::string(a > 0 ? ", " : "") + names[a] + " " +
                     formatFloat(mapBox_->min[a]) + ".." + formatFloat(mapBox_->max[a]);
        }
        const std::string at = "(" + formatFloat(point.x) + ", " + formatFloat(point.y) + ", " +
                               formatFloat(point.z) + ")";
        const std::string margin = formatFloat(MapMargin);
        add(slot, Severity::Warning,
            "lies at " + at + ", more than " + margin + " units outside the map's blocks (" +
                range + ")",
            "位置 " + at + " はマップのブロックから " + margin + " 単位より外にあります (" + range +
                ")");
    }

    static std::vector<int> others(const std::vector<int>& sharing, int slot) {
        std::vector<int> result;
        std::copy_if(sharing.begin(), sharing.end(), std::back_inserter(result),
                     [slot](int s) { return s != slot; });
        return result;
    }

    void summarise() {
        CheckSummary& summary = report_.summary;
        for (int slot = 0; slot < MaxPoints; ++slot) {
            if (table_.pointUsed[slot] == SlotFree) {
                continue;
            }
            const int kind = table_.points[slot].p1;
            summary.points += 1;
            summary.humans += isHumanKind(kind) ? 1 : 0;
            summary.pathPoints += isPathKind(kind) ? 1 : 0;
            summary.events += isEventKind(kind) ? 1 : 0;
        }
        for (const Finding& finding : report_.findings) {
            (finding.severity == Severity::Error ? summary.errors : summary.warnings) += 1;
        }
    }

    const PointTable& table_;
    const PointFileContents* file_;
    const BlockFileContents* map_;
    std::array<std::vector<int>, 256> slotsWithId_;
    std::optional<Box> mapBox_;
    CheckReport report_;
};

} // namespace

CheckReport checkPoints(const PointFileContents& file, const BlockFileContents* map) {
    // The records as the editor loads them: slots 0, 1, 2... in file order.
    PointTable table;
    const std::size_t count = std::min(file.records.size(), std::size_t{MaxPoints});
    for (std::size_t slot = 0; slot < count; ++slot) {
        table.points[slot] = file.records[slot];
        table.pointUsed[slot] = SlotUsed;
    }
    return Checker(table, &file, map).run();
}

CheckReport checkPointTable(const PointTable& table) {
    return Checker(table, nullptr, nullptr).run();
}

std::vector<Finding> pointFileFindings(const PointFileContents& file) {
    std::vector<Finding> findings;
    addLengthFindings(file, findings);
    for (std::size_t slot = 0; slot < file.records.size(); ++slot) {
        addNonFiniteFindings(static_cast<int>(slot), file.records[slot], findings);
    }
    return findings;
}

std::string describeFinding(const Finding& finding, bool english) {
    const bool error = finding.severity == Severity::Error;
    std::string line =
        english ? (error ? "error: " : "warning: ") : (error ? "エラー: " : "警告: ");
    if (finding.slot < 0) {
        line += english ? "file" : "ファイル";
    } else {
        line += (english ? "slot " : "スロット ") + to_string(finding.slot) +
                (english ? ", id " : ", 識別番号 ") + to_string(finding.id) + ", " +
                kindLabel(finding.kind, english);
    }
    return line + ": " + finding.text(english);
}

} // namespace tavo
