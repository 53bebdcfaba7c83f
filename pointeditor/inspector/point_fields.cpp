#include "pointeditor/inspector/point_fields.h"

#include <QtCore/QLocale>
#include <QtCore/QRegularExpression>
#include <QtCore/QStringList>
#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "pointeditor/data/point_kinds.h"
#include "pointeditor/data/point_links.h"
#include "pointeditor/view/point_markers.h"

namespace tavo {
namespace {

constexpr int LowestByte = std::numeric_limits<int8_t>::min();
constexpr int HighestByte = std::numeric_limits<int8_t>::max();
constexpr int FirstFreeId = 1; // 0 and the negative ids are the special ones

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString say(bool english, const char* inEnglish, const char* inJapanese) {
    return QString::fromUtf8(english ? inEnglish : inJapanese);
}

bool isByteColumn(Column column) {
    return column == Column::Kind || column == Column::Second || column == Column::Third ||
           column == Column::Id;
}

int byteOf(const PointRecord& point, Column column) {
    switch (column) {
    case Column::Kind:
        return point.p1;
    case Column::Second:
        return point.p2;
    case Column::Third:
        return point.p3;
    default:
        return point.p4;
    }
}

float positionOf(const PointRecord& point, Column column) {
    switch (column) {
    case Column::X:
        return point.x;
    case Column::Y:
        return point.y;
    default:
        return point.z;
    }
}

// The index of a name in either language, case ignored.
std::optional<int> indexOfName(const NameTable& table, const QString& name) {
    for (int index = table.firstIndex; index < table.count; ++index) {
        for (bool english : {true, false}) {
            const auto found = lookupName(table, index, english);
            if (found && !found->empty() && text(*found).compare(name, Qt::CaseInsensitive) == 0) {
                return index;
            }
        }
    }
    return std::nullopt;
}

Result<double, QString> readByte(Column column, int kind, const QVariant& offered, bool english) {
    // A number from a drop-down or spin box reads as its text does.
    const QString typed = offered.toString().trimmed();
    std::optional<int> value;
    bool ok = false;
    const int number = typed.toInt(&ok);
    if (ok) {
        value = number;
    } else if (const NameTable* names = namesFor(column, kind)) {
        value = indexOfName(*names, typed);
    }
    if (!value) {
        return namesFor(column, kind) != nullptr
                   ? say(english, "not a number or a name of the list",
                         "数値でも一覧の名前でもありません")
                   : say(english, "not a whole number", "整数ではありません");
    }
    if (*value < LowestByte || *value > HighestByte) {
        return say(english, "out of range: the field holds -128 to 127",
                   "範囲外です: -128 から 127 まで");
    }
    return static_cast<double>(*value);
}

Result<double, QString> readNumber(Column column, const QVariant& offered, bool english) {
    // A double's text is the shortest that reads back to it.
    bool ok = false;
    const double value = QLocale::c().toDouble(offered.toString().trimmed(), &ok);
    if (!ok || std::isnan(value)) {
        return say(english, "not a number", "数値ではありません");
    }
    const double stored = column == Column::Heading ? value * std::numbers::pi / 180.0 : value;
    if (!std::isfinite(static_cast<float>(stored))) {
        return column == Column::Heading
                   ? say(english, "out of range: the heading must be a finite number of degrees",
                         "範囲外です: 向きは有限の度数で入力してください")
                   : say(english, "out of range: the position must be a finite number",
                         "範囲外です: 位置は有限の数値で入力してください");
    }
    return value;
}

// "slot 12" and "targets 3, 5 and 8" in a finding's message.
const QRegularExpression& slotMention() {
    static const QRegularExpression mention(
        QStringLiteral("(?:slots?|スロット) (\\d+(?:(?:, | and )\\d+)*)"));
    return mention;
}

// "(slot 3)" right after an id, which the id already tells.
const QRegularExpression& slotAfterId() {
    static const QRegularExpression mention(QStringLiteral(" ?\\((?:slot|スロット) \\d+\\)"));
    return mention;
}

QString pointName(const PointTable& table, int slot, bool english) {
    if (slot < 0 || slot >= MaxPoints) {
        return QString::number(slot);
    }
    const PointRecord& point = table.points[static_cast<std::size_t>(slot)];
    return text(kindLabel(point.p1, english)) + (english ? " (id " : " (識別番号 ") +
           QString::number(point.p4) + ")";
}

QString withoutSlots(QString message, const PointTable& table, bool english) {
    message.remove(slotAfterId());
    QString out;
    qsizetype from = 0;
    auto matches = slotMention().globalMatch(message);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        out += message.mid(from, match.capturedStart() - from);
        const QStringList numbers =
            match.captured(1).split(QRegularExpression(QStringLiteral(", | and ")));
        QStringList names;
        for (const QString& number : numbers) {
            names.append(pointName(table, number.toInt(), english));
        }
        const QString joiner = english ? QStringLiteral(", ") : QStringLiteral("、");
        QString list = names.mid(0, names.size() - 1).join(joiner);
        if (names.size() > 1) {
            list += english ? QStringLiteral(" and ") : joiner;
        }
        list += names.back();
        out += (english ? (names.size() > 1 ? "points " : "point ") : "ポイント ") + list;
        from = match.capturedEnd();
    }
    return out + message.mid(from);
}

} // namespace

const NameTable* namesFor(Column column, int kind) {
    if (column == Column::Kind) {
        return &pointKindNames;
    }
    if (column == Column::Second) {
        switch (kind) {
        case KindWeapon:
        case KindRandomWeapon:
            return &weaponNames;
        case KindPath:
            return &pathActionNames;
        case KindHumanInfo:
            return &humanTypeNames;
        case KindSmallObject:
            return &smallObjectNames;
        default:
            return nullptr;
        }
    }
    return column == Column::Third && kind == KindRandomWeapon ? &weaponNames : nullptr;
}

double shownDegrees(float radians) {
    const double degrees = static_cast<double>(radians) * 180.0 / std::numbers::pi;
    return std::round(degrees * 10.0) / 10.0 + 0.0; // + 0.0 turns -0 into 0
}

QString cellText(const PointRecord& point, Column column, bool english) {
    switch (column) {
    case Column::Slot:
    case Column::Colour:
        return {};
    case Column::Kind:
    case Column::Second:
    case Column::Third:
    case Column::Id: {
        const int value = byteOf(point, column);
        if (const NameTable* names = namesFor(column, point.p1)) {
            const auto name = lookupName(*names, value, english);
            if (name && !name->empty()) {
                return text(*name);
            }
        }
        return QString::number(value);
    }
    case Column::X:
    case Column::Y:
    case Column::Z:
        return QString::fromStdString(formatFloat(positionOf(point, column)));
    case Column::Heading:
        break;
    }
    return QString::number(shownDegrees(point.r), 'f', 1);
}

double sortValue(const PointRecord& point, int slot, Column column) {
    switch (column) {
    case Column::Slot:
        return slot;
    case Column::Colour:
        return std::abs(static_cast<int>(point.p1)) % static_cast<int>(kindPalette.size());
    case Column::X:
    case Column::Y:
    case Column::Z: {
        const float value = positionOf(point, column);
        return std::isnan(value) ? -std::numeric_limits<double>::infinity() : value;
    }
    case Column::Heading:
        return std::isnan(point.r) ? -std::numeric_limits<double>::infinity() : point.r;
    default:
        return byteOf(point, column);
    }
}

uint32_t markerColour(int kind) {
    return kindPalette[static_cast<std::size_t>(std::abs(kind)) % kindPalette.size()];
}

std::vector<int> kindsOfColour(int entry) {
    std::vector<int> kinds;
    for (int kind = 1; kind <= LastKind; ++kind) {
        if (kind % static_cast<int>(kindPalette.size()) == entry) {
            kinds.push_back(kind);
        }
    }
    return kinds;
}

Result<double, QString> readCellValue(Column column, int kind, const QVariant& offered,
                                      bool english) {
    if (isByteColumn(column)) {
        return readByte(column, kind, offered, english);
    }
    if (column == Column::Slot || column == Column::Colour) {
        return say(english, "this column cannot be edited", "この列は編集できません");
    }
    return readNumber(column, offered, english);
}

void applyCellValue(PointTable& table, const std::vector<int>& targets, Column column,
                    double value) {
    // Only the column's own type is made from the value: it was read for that field alone.
    for (int slot : targets) {
        PointRecord& point = table.points[static_cast<std::size_t>(slot)];
        switch (column) {
        case Column::Kind:
            point.p1 = static_cast<int8_t>(value);
            break;
        case Column::Second:
            point.p2 = static_cast<int8_t>(value);
            break;
        case Column::Third:
            point.p3 = static_cast<int8_t>(value);
            break;
        case Column::Id:
            point.p4 = static_cast<int8_t>(value);
            break;
        case Column::X:
            point.x = static_cast<float>(value);
            break;
        case Column::Y:
            point.y = static_cast<float>(value);
            break;
        case Column::Z:
            point.z = static_cast<float>(value);
            break;
        case Column::Heading:
            if (shownDegrees(point.r) != value) {
                point.r = static_cast<float>(value * std::numbers::pi / 180.0);
            }
            break;
        default:
            break;
        }
    }
}

std::optional<std::vector<int8_t>> freeIds(const PointTable& table,
                                           const std::vector<int>& targets) {
    std::array<bool, 256> taken{};
    for (int slot = 0; slot < MaxPoints; ++slot) {
        const bool renumbered = std::find(targets.begin(), targets.end(), slot) != targets.end();
        if (table.pointUsed[slot] != SlotFree && !renumbered) {
            taken[static_cast<std::size_t>(table.points[slot].p4 - LowestByte)] = true;
        }
    }
    std::vector<int8_t> ids;
    for (int id = FirstFreeId; id <= HighestByte && ids.size() < targets.size(); ++id) {
        if (!taken[static_cast<std::size_t>(id - LowestByte)]) {
            ids.push_back(static_cast<int8_t>(id));
        }
    }
    if (ids.size() < targets.size()) {
        return std::nullopt;
    }
    return ids;
}

bool matchesFilter(const PointRecord& point, const QString& filter) {
    const QString wanted = filter.trimmed();
    if (wanted.isEmpty()) {
        return true;
    }
    bool isNumber = false;
    const int id = wanted.toInt(&isNumber);
    if (isNumber) {
        return point.p4 == id;
    }
    for (bool english : {true, false}) {
        const auto name = lookupName(pointKindNames, point.p1, english);
        if (name && text(*name).contains(wanted, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

bool inKindGroup(int kind, KindGroup group) {
    switch (group) {
    case KindGroup::All:
        return true;
    case KindGroup::Humans:
        return isHumanKind(kind) || kind == KindHumanInfo;
    case KindGroup::Weapons:
        return kind == KindWeapon || kind == KindRandomWeapon;
    case KindGroup::Paths:
        return isPathKind(kind);
    case KindGroup::Objects:
        return kind == KindSmallObject;
    case KindGroup::Events:
        return isEventKind(kind);
    case KindGroup::Other:
        break;
    }
    for (int other = 1; other < KindGroupCount - 1; ++other) {
        if (inKindGroup(kind, static_cast<KindGroup>(other))) {
            return false;
        }
    }
    return true;
}

QString kindGroupLabel(KindGroup group, bool english) {
    static constexpr std::array<const char*, KindGroupCount> English = {
        "every kind", "humans", "weapons", "paths", "small objects", "events", "other kinds"};
    static constexpr std::array<const char*, KindGroupCount> Japanese = {
        "全種類", "人", "武器", "パス", "小物", "イベント", "その他の種類"};
    const auto index = static_cast<std::size_t>(group);
    return QString::fromUtf8(english ? English[index] : Japanese[index]);
}

QString findingText(const Finding& finding, const PointTable& table, bool english) {
    const bool error = finding.severity == Severity::Error;
    QString line = english ? (error ? "error: " : "warning: ")
                           : QString::fromUtf8(error ? "エラー: " : "警告: ");
    if (finding.slot < 0) {
        line += say(english, "file", "ファイル");
    } else {
        line += say(english, "id ", "識別番号 ") + QString::number(finding.id) + ", " +
                text(kindLabel(finding.kind, english));
    }
    return line + ": " +
           withoutSlots(QString::fromStdString(finding.text(english)), table, english);
}

std::vector<int> findingSlots(const Finding& finding) {
    std::vector<int> targets;
    if (finding.slot >= 0) {
        targets.push_back(finding.slot);
    }
    targets.insert(targets.end(), finding.relatedSlots.begin(), finding.relatedSlots.end());
    return targets;
}

} // namespace tavo
