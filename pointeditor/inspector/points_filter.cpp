#include "pointeditor/inspector/points_filter.h"

namespace tavo {

PointsFilter::PointsFilter(PointsModel& points, QObject* parent)
    : QSortFilterProxyModel(parent), points_(points) {
    setSourceModel(&points);
    setSortRole(PointsModel::NumberRole);
    setDynamicSortFilter(true);
}

void PointsFilter::setText(const QString& text) {
    text_ = text;
    invalidateFilter();
}

void PointsFilter::setGroup(KindGroup group) {
    group_ = group;
    invalidateFilter();
}

bool PointsFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (sourceParent.isValid() || sourceRow >= points_.rowCount()) {
        return false;
    }
    const PointRecord& point = points_.pointAt(sourceRow);
    return inKindGroup(point.p1, group_) && matchesFilter(point, text_);
}

} // namespace tavo
