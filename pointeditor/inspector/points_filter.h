#pragma once
// The rows the inspector shows, and their order: the filter field and the "kinds" drop-down
// over the points model, sorted by the number behind each cell.

#include <QtCore/QSortFilterProxyModel>

#include "pointeditor/inspector/points_model.h"

namespace tavo {

class PointsFilter : public QSortFilterProxyModel {
public:
    explicit PointsFilter(PointsModel& points, QObject* parent = nullptr);

    void setText(const QString& text);
    void setGroup(KindGroup group);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    PointsModel& points_;
    QString text_;
    KindGroup group_ = KindGroup::All;
};

} // namespace tavo
