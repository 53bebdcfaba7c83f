#pragma once
// The inspector's table: one row per point in use, in slot order, over the editor's own points
// table (it keeps only which slot each row shows). It hears of every message through the edit
// session's after-message call, and every edit it makes is a command run as one message, so
// one undo step, like any key.

#include <QtCore/QAbstractTableModel>
#include <functional>
#include <optional>
#include <vector>

#include "pointeditor/edit/edit_session.h"
#include "pointeditor/inspector/point_fields.h"

namespace tavo {

class PointsModel : public QAbstractTableModel {
public:
    // The number behind a cell, which sorting and the drop-downs use.
    static constexpr int NumberRole = Qt::UserRole;

    // redraw: shows the panes after a command the inspector ran (the window's frame).
    PointsModel(EditSession& edits, std::function<void()> redraw, QObject* parent = nullptr);
    // Hands the after-message call back to whoever had it before; so an owner made later must
    // go first.
    ~PointsModel() override;
    PointsModel(const PointsModel&) = delete;
    PointsModel& operator=(const PointsModel&) = delete;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A value for a selected row goes to every selected point. A value the field cannot take
    // changes nothing: false, and refusal() tells why.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    int slotAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    // -1 when the slot is not in use.
    int rowOf(int slot) const;
    const PointRecord& pointAt(int row) const;
    bool english() const { return edits_.state().english != 0; }
    const PointTable& table() const { return edits_.state().pointTable; }
    QString refusal() const { return refusal_; }

    // Gives the selected points ids no other point has; false (and refusal()) when there are
    // not enough free ids or nothing is selected.
    bool giveFreeIds();

    // Runs a command as one message and shows its frame; false while a box of the editor is
    // open, when nothing runs.
    bool runCommand(const std::function<void(EditorState&)>& command);

    // Called after the rows have followed a message.
    void setAfterRefresh(std::function<void()> afterRefresh) {
        afterRefresh_ = std::move(afterRefresh);
    }

private:
    void refresh();
    bool refuse(const QString& reason);

    EditSession& edits_;
    std::function<void()> redraw_;
    std::function<void()> previousAfterMessage_;
    std::function<void()> afterRefresh_;
    std::vector<int> rows_;                // the slot each row shows
    std::optional<std::size_t> shownHash_; // of the table the rows last showed
    QString refusal_;
};

} // namespace tavo
