#pragma once
// What the inspector shows of a point and what it accepts back: one column per field, the
// names the text column gives a kind's parameters, how a typed value is read (or refused, with
// the reason), the filter rules, and the findings told by id and kind. Nothing here holds
// points: every function reads or changes the editor's own table.

#include <QtCore/QString>
#include <QtCore/QVariant>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/result.h"
#include "pointeditor/data/name_tables.h"
#include "pointeditor/data/point_check.h"
#include "pointeditor/data/point_table.h"

namespace tavo {

enum class Column { Slot, Colour, Kind, Second, Third, Id, X, Y, Z, Heading };
inline constexpr int ColumnCount = 10;

// The table that names this column's value for a point of `kind` (the kind column: the kind
// names; p2 and p3 as the text column names them), or null where the value is a plain number.
const NameTable* namesFor(Column column, int kind);

// The cell as shown: a name where the column's table has one, else the number; positions as
// the shortest text that reads back to the same float; the heading in degrees to 0.1.
QString cellText(const PointRecord& point, Column column, bool english);

// The value sorting goes by: the number behind every cell (a kind sorts by its number, the
// swatch by its palette entry).
double sortValue(const PointRecord& point, int slot, Column column);

// The heading in degrees as the cell shows it: rounded to 0.1, never "-0.0".
double shownDegrees(float radians);

// The marker colour of a kind in the panes when not selected, as 0xAARRGGBB.
uint32_t markerColour(int kind);

// The kinds 1..19 drawn in palette entry `entry`.
std::vector<int> kindsOfColour(int entry);

// A value offered for a cell: a number (from a drop-down or spin box) or typed text (a number,
// or a name of the column's table for that kind). Gives the value to store, or why not.
Result<double, QString> readCellValue(Column column, int kind, const QVariant& offered,
                                      bool english);

// Stores an accepted value in the points of `targets`. A heading already shown as that many
// degrees keeps its stored radians, so confirming a cell unchanged changes nothing.
void applyCellValue(PointTable& table, const std::vector<int>& targets, Column column,
                    double value);

// One id per slot, ascending from 1, that no point in use outside `targets` holds; nullopt when
// there are not enough.
std::optional<std::vector<int8_t>> freeIds(const PointTable& table,
                                           const std::vector<int>& targets);

// The filter field: empty matches every point, a whole number the points with that id,
// anything else the points whose kind name (in either language) contains it, case ignored.
bool matchesFilter(const PointRecord& point, const QString& text);

// The "kinds" drop-down.
enum class KindGroup { All, Humans, Weapons, Paths, Objects, Events, Other };
inline constexpr int KindGroupCount = 7;
bool inKindGroup(int kind, KindGroup group);
QString kindGroupLabel(KindGroup group, bool english);

// A finding in the inspector's words: severity, the point as id and kind, and the message with
// every slot it mentions told as the id and kind of the point there.
QString findingText(const Finding& finding, const PointTable& table, bool english);

// The slots a finding is about, its own first.
std::vector<int> findingSlots(const Finding& finding);

} // namespace tavo
