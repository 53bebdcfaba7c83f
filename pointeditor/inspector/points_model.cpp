#include "pointeditor/inspector/points_model.h"

#include <QtCore/QHashFunctions>
#include <QtGui/QColor>
#include <array>

#include "pointeditor/data/selection.h"

namespace tavo {
namespace {

Column columnOf(const QModelIndex& index) {
    return static_cast<Column>(index.column());
}

bool isEditable(Column column) {
    return column != Column::Slot && column != Column::Colour;
}

QString header(Column column, bool english) {
    static constexpr std::array<const char*, ColumnCount> English = {
        "Slot", "Colour", "Kind", "P2", "P3", "Id", "X", "Y", "Z", "Heading (°)"};
    static constexpr std::array<const char*, ColumnCount> Japanese = {
        "スロット", "色", "種類", "パラメータ2", "パラメータ3",
        "識別番号", "X",  "Y",    "Z",           "向き (度)"};
    const auto at = static_cast<std::size_t>(column);
    return QString::fromUtf8(english ? English[at] : Japanese[at]);
}

} // namespace

PointsModel::PointsModel(EditSession& edits, std::function<void()> redraw, QObject* parent)
    : QAbstractTableModel(parent), edits_(edits), redraw_(std::move(redraw)) {
    previousAfterMessage_ = edits_.setAfterMessage([this] {
        if (previousAfterMessage_) {
            previousAfterMessage_();
        }
        refresh();
    });
    refresh();
}

PointsModel::~PointsModel() {
    edits_.setAfterMessage(std::move(previousAfterMessage_));
}

int PointsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PointsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

int PointsModel::rowOf(int slot) const {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row] == slot) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

const PointRecord& PointsModel::pointAt(int row) const {
    return table().points[static_cast<std::size_t>(slotAt(row))];
}

QVariant PointsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Column column = columnOf(index);
    const PointRecord& point = pointAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return column == Column::Slot ? QString::number(slotAt(index.row()))
                                      : cellText(point, column, english());
    case Qt::EditRole:
        if (column == Column::X || column == Column::Y || column == Column::Z ||
            column == Column::Heading) {
            return cellText(point, column, english());
        }
        return static_cast<int>(sortValue(point, slotAt(index.row()), column));
    case NumberRole:
        return sortValue(point, slotAt(index.row()), column);
    case Qt::DecorationRole:
        if (column == Column::Colour) {
            return QColor::fromRgba(markerColour(point.p1));
        }
        return {};
    default:
        return {};
    }
}

QVariant PointsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return header(static_cast<Column>(section), english());
}

Qt::ItemFlags PointsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && isEditable(columnOf(index))) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool PointsModel::refuse(const QString& reason) {
    refusal_ = reason;
    return false;
}

bool PointsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rowCount()) {
        return false;
    }
    const Column column = columnOf(index);
    const int slot = slotAt(index.row());
    const Result<double, QString> read =
        readCellValue(column, pointAt(index.row()).p1, value, english());
    if (!read) {
        return refuse(read.error());
    }
    std::vector<int> targets;
    if (table().pointUsed[static_cast<std::size_t>(slot)] == SlotSelected) {
        forEachSelected(
            table(), [&targets](int selected, const PointRecord&) { targets.push_back(selected); });
    } else {
        targets.push_back(slot);
    }
    const double accepted = *read;
    refusal_.clear();
    return runCommand([&targets, column, accepted](EditorState& state) {
               applyCellValue(state.pointTable, targets, column, accepted);
           }) ||
           refuse(english() ? QStringLiteral("the editor is busy") : QStringLiteral("編集中です"));
}

bool PointsModel::giveFreeIds() {
    std::vector<int> targets;
    forEachSelected(table(), [&targets](int slot, const PointRecord&) { targets.push_back(slot); });
    if (targets.empty()) {
        return refuse(english() ? QStringLiteral("no point is selected")
                                : QStringLiteral("ポイントが選択されていません"));
    }
    const std::optional<std::vector<int8_t>> ids = freeIds(table(), targets);
    if (!ids) {
        return refuse(english() ? QStringLiteral("not enough free ids (1 to 127)")
                                : QStringLiteral("空いている識別番号 (1 から 127) が足りません"));
    }
    refusal_.clear();
    return runCommand([&targets, &ids](EditorState& state) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            state.pointTable.points[static_cast<std::size_t>(targets[i])].p4 = (*ids)[i];
        }
    });
}

bool PointsModel::runCommand(const std::function<void(EditorState&)>& command) {
    if (edits_.inMessage()) {
        return false;
    }
    edits_.run(command, false);
    if (redraw_) {
        redraw_();
    }
    return true;
}

void PointsModel::refresh() {
    const PointTable& points = table();
    // Most messages are mouse moves that change nothing: those leave the rows alone.
    const std::size_t hash = qHashBits(&points, sizeof(PointTable));
    if (shownHash_ == hash) {
        return;
    }
    shownHash_ = hash;
    std::vector<int> used;
    for (int slot = 0; slot < MaxPoints; ++slot) {
        if (points.pointUsed[static_cast<std::size_t>(slot)] != SlotFree) {
            used.push_back(slot);
        }
    }
    if (used != rows_) {
        beginResetModel();
        rows_ = std::move(used);
        endResetModel();
    } else if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    }
    if (afterRefresh_) {
        afterRefresh_();
    }
}

} // namespace tavo
