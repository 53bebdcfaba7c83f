#pragma once
// The point inspector: a tool window beside the editor with every point in use as a row,
// edited in place, the link check's findings kept current, and a legend of the marker
// colours. It changes points only through the edit session, one message per edit, and follows
// every message the editor runs; the selection is the editor's own, shown both here and in the
// panes.

#include <QtWidgets/QWidget>
#include <functional>
#include <vector>

#include "pointeditor/data/point_check.h"
#include "pointeditor/edit/edit_session.h"
#include "pointeditor/inspector/points_filter.h"
#include "pointeditor/inspector/points_model.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;

namespace tavo {

class InspectorWindow : public QWidget {
public:
    // redraw shows the editor's frame after a command run here; editor is the window it sits
    // beside (and above).
    InspectorWindow(EditSession& edits, std::function<void()> redraw, QWidget* editor = nullptr);
    ~InspectorWindow() override;
    InspectorWindow(const InspectorWindow&) = delete;
    InspectorWindow& operator=(const InspectorWindow&) = delete;

    // Shows it, or brings it to the front when it is already shown.
    void open();

    // Clicking a finding: its points become the selection and the panes frame them.
    void showFinding(int row);
    // Double-click or Enter on a row: the panes frame the selection (the row's point when it is
    // not selected).
    void frameRow(const QModelIndex& proxyIndex);

    PointsModel& model() { return model_; }
    PointsFilter& filter() { return filter_; }
    QTableView& table() { return *table_; }
    QLineEdit& filterField() { return *filterField_; }
    QComboBox& kindsFilter() { return *kindsFilter_; }
    QPushButton& nextFreeIdButton() { return *nextFreeId_; }
    QLabel& refusalLabel() { return *refusal_; }
    QListWidget& findingsList() { return *findings_; }
    QTabWidget& tabs() { return *tabs_; }
    QListWidget& legend() { return *legend_; }
    const std::vector<Finding>& findings() const { return shownFindings_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* makePointsTab();
    QWidget* makeFindingsTab();
    QWidget* makeLegendTab();
    void afterRefresh();
    void selectionFromTable();
    void selectionToTable();
    void refreshFindings();
    // After a value given in a cell: why it was refused, or nothing when it was taken.
    void tellAnswer(const QModelIndex& proxyIndex, bool accepted);
    void applyFilter(const std::function<void()>& change);
    void rememberGeometry();
    bool english() const { return model_.english(); }

    PointsModel model_;
    PointsFilter filter_;
    QTabWidget* tabs_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* filterField_ = nullptr;
    QComboBox* kindsFilter_ = nullptr;
    QPushButton* nextFreeId_ = nullptr;
    QLabel* refusal_ = nullptr;
    QListWidget* findings_ = nullptr;
    QListWidget* legend_ = nullptr;
    std::vector<Finding> shownFindings_;
    std::vector<QString> shownFindingTexts_;
    bool syncing_ = false; // the table's selection is being set from the editor's
};

} // namespace tavo
