// The inspector over a real edit session: its rows follow every message, its edits are undo
// steps, and the selection is shared with the panes.

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtCore/QSettings>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableView>
#include <memory>

#include "pointeditor/data/point_file.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/edit/tests/editor_driver.h"
#include "pointeditor/inspector/points_window.h"
#include "pointeditor/view/point_markers.h"
#include "tests/support/menu_marks.h"
#include "tests/support/scene_builders.h"
#include "tests/support/scratch_directory.h"

namespace tavo {
namespace {

using testing::Editor;
using testing::point;

constexpr std::pair<int, int> TopPaneSpot{170, 155}; // world (10, 0, 5) at the start-up view
constexpr auto NewPoint = testing::menuMark(MenuNewPoint);
constexpr auto DeletePoint = testing::menuMark(MenuDeletePoint);

class Inspector : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "points_window_tests", *argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            new QApplication(argc, argv);
        }
        // The remembered geometry goes to a folder of this process's own: away from the user's
        // settings, and from the other test processes that ctest runs beside this one.
        static const QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QCoreApplication::setOrganizationName(QStringLiteral("tavo-test"));
        QCoreApplication::setApplicationName(QStringLiteral("points_window_tests"));
    }

    // Slots 2, 5, 9 in use: a PATH id 7 that ends its path, a WEAPON id 3, a HUMAN id 4 that
    // walks path 7. No finding.
    void putThree() {
        editor.put({{2, SlotUsed, 10, 0, 20, 3, 1, 7, 7},
                    {5, SlotUsed, -30, 1, 40, 2, 5, 0, 3},
                    {9, SlotUsed, 50, 2, -60, 1, 0, 7, 4}});
        editor.edits.other(false); // a message, which the rows follow
    }
    std::unique_ptr<InspectorWindow> open() {
        return std::make_unique<InspectorWindow>(editor.edits, [this] { ++redraws; });
    }
    // The row (in the table as shown) of a slot.
    static QModelIndex cell(InspectorWindow& window, int slot, Column column) {
        const int row = window.model().rowOf(slot);
        return window.filter().mapFromSource(window.model().index(row, static_cast<int>(column)));
    }
    // "slot:id" for every row of the model, and for every slot in use of the table.
    static std::string rows(InspectorWindow& window) {
        std::string shown;
        for (int row = 0; row < window.model().rowCount(); ++row) {
            const QModelIndex at = window.model().index(row, static_cast<int>(Column::Id));
            shown += std::to_string(window.model().slotAt(row)) + ":" +
                     at.data().toString().toStdString() + " ";
        }
        return shown;
    }
    static std::string used(const PointTable& table) {
        std::string expected;
        for (int slot = 0; slot < MaxPoints; ++slot) {
            if (table.pointUsed[static_cast<std::size_t>(slot)] != SlotFree) {
                expected += std::to_string(slot) + ":" +
                            std::to_string(table.points[static_cast<std::size_t>(slot)].p4) + " ";
            }
        }
        return expected;
    }
    // The slots of the rows shown, in their order.
    static std::vector<int> shownOrder(InspectorWindow& window) {
        std::vector<int> order;
        for (int row = 0; row < window.filter().rowCount(); ++row) {
            order.push_back(window.model().slotAt(
                window.filter().mapToSource(window.filter().index(row, 0)).row()));
        }
        return order;
    }
    static std::vector<int> selectedSlots(const PointTable& table) {
        std::vector<int> targets;
        forEachSelected(table,
                        [&targets](int slot, const PointRecord&) { targets.push_back(slot); });
        return targets;
    }
    static std::vector<int> selectedRows(InspectorWindow& window) {
        std::vector<int> targets;
        for (const QModelIndex& at : window.table().selectionModel()->selectedRows()) {
            targets.push_back(window.model().slotAt(window.filter().mapToSource(at).row()));
        }
        std::sort(targets.begin(), targets.end());
        return targets;
    }
    void select(std::initializer_list<int> targets) {
        editor.edits.run(
            [&](EditorState& state) {
                clearSelection(state.pointTable);
                for (int slot : targets) {
                    state.pointTable.pointUsed[static_cast<std::size_t>(slot)] = SlotSelected;
                }
            },
            false);
    }

    Editor editor;
    int redraws = 0;
    testing::ScratchDirectory dir;
};

TEST_F(Inspector, RowsAreThePointsInUseAfterEveryKindOfChange) {
    const auto window = open();
    const PointRecord file[] = {point(1, 0, 1, 1, 0, 0, 11), point(2, 0, 2, 2, 0, 0, 12),
                                point(3, 0, 3, 3, 0, 0, 13)};
    const std::string path = dir.write("three.pd1", encodePointFile(file));
    editor.state.currentParams = {1, 0, 0, 21};
    const auto place = [&] { editor.click({NewPoint, TopPaneSpot}, true); };
    const auto remove = [&] { select({1}), editor.click({DeletePoint}, true); };
    const struct {
        const char* name;
        std::function<void()> change;
        const char* expected;
    } steps[] = {
        {"load", [&] { editor.edits.run([&](EditorState& s) { openPointFile(s, path); }, false); },
         "0:11 1:12 2:13 "},
        {"placement", place, "0:11 1:12 2:13 3:21 "},
        {"delete", remove, "0:11 2:13 3:21 "},
        {"undo", [&] { editor.edits.undo(false); }, "0:11 1:12 2:13 3:21 "},
        {"undo again", [&] { editor.edits.undo(false); }, "0:11 1:12 2:13 "},
        {"redo", [&] { editor.edits.redo(false); }, "0:11 1:12 2:13 3:21 "},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(used(editor.state.pointTable), step.expected) << step.name << ": the table";
        EXPECT_EQ(rows(*window), step.expected) << step.name << ": the rows";
    }
}

TEST_F(Inspector, AKindEditIsOneUndoStepThatRedrawsAndUndoRestores) {
    putThree();
    const auto window = open();
    EXPECT_FALSE(window->filter().setData(cell(*window, 9, Column::Kind), 7, Qt::DisplayRole))
        << "only an edit is taken";
    ASSERT_TRUE(window->filter().setData(cell(*window, 9, Column::Kind), 7, Qt::EditRole))
        << window->model().refusal().toStdString();
    EXPECT_EQ(editor.pts[9].p1, 7) << "p1 after the edit";
    EXPECT_EQ(editor.history().undoSteps(), 1u) << "undo steps";
    EXPECT_EQ(redraws, 1) << "frames asked for";
    EXPECT_TRUE(hasUnsavedPoints(editor.state)) << "unsaved after the edit";
    EXPECT_EQ(cell(*window, 9, Column::Kind).data().toString(), "RANDOM WEAPON")
        << "the row shows the new kind";
    editor.edits.undo(false);
    EXPECT_EQ(editor.pts[9].p1, 1) << "p1 after undo";
    EXPECT_EQ(cell(*window, 9, Column::Kind).data().toString(), "HUMAN") << "the row after undo";
}

TEST_F(Inspector, AnEditOnASelectedRowGoesToEverySelectedPointAsOneStepElseToItsOwn) {
    putThree();
    const auto window = open();
    select({2, 9});
    ASSERT_TRUE(window->filter().setData(cell(*window, 2, Column::Id), 42, Qt::EditRole));
    EXPECT_EQ(editor.pts[2].p4, 42) << "the edited row";
    EXPECT_EQ(editor.pts[9].p4, 42) << "the other selected row";
    EXPECT_EQ(editor.pts[5].p4, 3) << "the row not selected";
    EXPECT_EQ(editor.history().undoSteps(), 1u) << "undo steps";
    ASSERT_TRUE(window->filter().setData(cell(*window, 5, Column::X), "-1.5", Qt::EditRole));
    EXPECT_EQ(editor.pts[5].x, -1.5f) << "an edit on a row not selected: that row";
    EXPECT_EQ(editor.pts[2].x, 10.0f) << "an edit on a row not selected: a selected row";
}

TEST_F(Inspector, AnEditWhileTheEditorsBoxIsOpenIsRefused) {
    putThree();
    const auto window = open();
    bool taken = true;
    const QModelIndex id = cell(*window, 5, Column::Id);
    // As while a box of the editor waits for its answer.
    editor.edits.run([&](EditorState&) { taken = window->filter().setData(id, 9, Qt::EditRole); },
                     false);
    EXPECT_FALSE(taken) << "taken";
    EXPECT_EQ(window->model().refusal().toStdString(), "the editor is busy") << "the reason";
    EXPECT_EQ(editor.pts[5].p4, 3) << "the id";
}

TEST_F(Inspector, NextFreeIdGivesTheSelectedPointsIdsNoOtherPointHas) {
    putThree();
    editor.pts[9].p4 = 3; // shares the weapon's id
    const auto window = open();
    window->nextFreeIdButton().click();
    EXPECT_EQ(window->refusalLabel().text(), "no point is selected") << "with nothing selected";
    EXPECT_EQ(editor.history().undoSteps(), 0u) << "undo steps with nothing selected";
    select({2, 9});
    window->nextFreeIdButton().click();
    EXPECT_EQ(editor.pts[2].p4, 1) << "the lowest id no other point holds";
    EXPECT_EQ(editor.pts[9].p4, 2) << "the next one";
    EXPECT_EQ(editor.history().undoSteps(), 1u) << "undo steps";
    EXPECT_EQ(window->refusalLabel().text(), "") << "the reason went";
}

TEST_F(Inspector, ARefusedValueChangesNothingAndTheCellTellsWhy) {
    putThree();
    editor.pts[5].x = -30.25f;
    editor.edits.other(false);
    const auto window = open();
    QTableView& table = window->table();
    const QModelIndex x = cell(*window, 5, Column::X);
    table.setCurrentIndex(x); // selects the row, and so the point
    table.edit(x);
    const PointTable before = editor.state.pointTable;
    redraws = 0;
    auto* typed = qobject_cast<QLineEdit*>(
        table.indexWidget(x) != nullptr ? table.indexWidget(x) : QApplication::focusWidget());
    ASSERT_NE(typed, nullptr) << "a line edit for x";
    EXPECT_EQ(typed->text(), "-30.25") << "what the line edit starts from";
    typed->setText("twelve");
    table.itemDelegate()->setModelData(typed, &window->filter(), x);
    EXPECT_TRUE(sameTable(editor.state.pointTable, before)) << "the points";
    EXPECT_EQ(editor.history().undoSteps(), 0u) << "undo steps";
    EXPECT_EQ(redraws, 0) << "frames asked for";
    EXPECT_EQ(window->refusalLabel().text(), "X: not a number") << "the reason";
    typed->setText("7");
    table.itemDelegate()->setModelData(typed, &window->filter(), x);
    EXPECT_EQ(editor.pts[5].x, 7.0f) << "a number then";
    EXPECT_EQ(window->refusalLabel().text(), "") << "no reason left over";
}

TEST_F(Inspector, TheKindDropDownListsTheNamesAndKeepsANumberWithout) {
    putThree();
    editor.pts[5].p2 = 30; // a weapon past the weapon names
    editor.edits.other(false);
    const auto window = open();
    QTableView& table = window->table();
    const QModelIndex weapon = cell(*window, 5, Column::Second);
    const QModelIndex id = cell(*window, 9, Column::Id);
    const std::unique_ptr<QWidget> idEditor(
        table.itemDelegate()->createEditor(table.viewport(), {}, id));
    auto* spin = qobject_cast<QSpinBox*>(idEditor.get());
    ASSERT_NE(spin, nullptr) << "a spin box for the id";
    spin->setValue(-128);
    table.itemDelegate()->setModelData(spin, &window->filter(), id);
    EXPECT_EQ(editor.pts[9].p4, -128) << "the lowest id from the spin box";
    QWidget* editorWidget = table.itemDelegate()->createEditor(table.viewport(), {}, weapon);
    auto* box = qobject_cast<QComboBox*>(editorWidget);
    ASSERT_NE(box, nullptr) << "a drop-down for a weapon";
    table.itemDelegate()->setEditorData(box, weapon);
    EXPECT_EQ(box->currentText(), "30") << "the number without a name";
    EXPECT_EQ(box->count(), 24) << "the 23 weapon names and the number";
    box->setCurrentIndex(box->findText("MP5"));
    table.itemDelegate()->setModelData(box, &window->filter(), weapon);
    EXPECT_EQ(editor.pts[5].p2, 1) << "MP5 chosen";
    delete editorWidget;
    editor.pts[5].p2 = 0; // the first name
    editor.edits.other(false);
    const std::unique_ptr<QWidget> named(
        table.itemDelegate()->createEditor(table.viewport(), {}, weapon));
    EXPECT_EQ(qobject_cast<QComboBox*>(named.get())->count(), 23) << "a named weapon: no number";
}

TEST_F(Inspector, SelectingRowsSelectsThePointsAndTheirSelectionSelectsTheRows) {
    editor.put({{0, SlotUsed, 0, 0, 0, 5, 0, 0, 6}}); // the first slot counts as much as others
    putThree();
    const auto window = open();
    QItemSelectionModel& rowsSelected = *window->table().selectionModel();
    rowsSelected.select(cell(*window, 0, Column::Slot),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(selectedSlots(editor.state.pointTable), (std::vector<int>{0})) << "the first row";
    rowsSelected.select(cell(*window, 5, Column::Slot),
                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    rowsSelected.select(cell(*window, 9, Column::Slot),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(selectedSlots(editor.state.pointTable), (std::vector<int>{5, 9})) << "from rows";
    EXPECT_EQ(editor.history().undoSteps(), 0u) << "a selection is no undo step";
    EXPECT_GT(redraws, 0) << "the panes show it";

    select({2});
    EXPECT_EQ(selectedRows(*window), (std::vector<int>{2})) << "from the panes";
}

TEST_F(Inspector, TheFilterFieldAndTheKindsDropDownChooseTheRowsShown) {
    putThree();
    const auto window = open();
    EXPECT_EQ(window->filterField().window(), window.get()) << "the field is in the inspector";
    EXPECT_TRUE(window->table().verticalHeader()->isHidden()) << "the slot column numbers rows";
    EXPECT_EQ(window->nextFreeIdButton().window(), window.get()) << "so is the button";
    const struct {
        const char* name;
        const char* text;
        KindGroup group;
        int rows;
    } cases[] = {
        {"nothing", "", KindGroup::All, 3},   {"a kind name", "weap", KindGroup::All, 1},
        {"an id", "4", KindGroup::All, 1},    {"an id nobody has", "8", KindGroup::All, 0},
        {"a group", "", KindGroup::Paths, 1}, {"both", "human", KindGroup::Weapons, 0},
    };
    for (const auto& c : cases) {
        window->filterField().setText(QString::fromUtf8(c.text));
        window->kindsFilter().setCurrentIndex(static_cast<int>(c.group));
        EXPECT_EQ(window->filter().rowCount(), c.rows) << c.name;
    }
}

TEST_F(Inspector, RowsReplacedOrFilteredKeepTheSelection) {
    putThree();
    const auto window = open();
    select({2, 9});
    editor.edits.run([](EditorState& state) { state.pointTable.pointUsed[5] = SlotFree; }, false);
    EXPECT_EQ(selectedSlots(editor.state.pointTable), (std::vector<int>{2, 9})) << "points";
    EXPECT_EQ(selectedRows(*window), (std::vector<int>{2, 9})) << "rows";
    window->filterField().setText("path");
    EXPECT_EQ(selectedSlots(editor.state.pointTable), (std::vector<int>{2, 9})) << "points";
    EXPECT_EQ(selectedRows(*window), (std::vector<int>{2})) << "rows shown";
}

// By the number, not the text ("-30" < "100" < "50"); the rows are sorted again after a change
// to the first row or to the last column.
TEST_F(Inspector, SortingByAColumnGoesByItsNumberAndFollowsAChange) {
    const struct {
        Column column;
        float PointRecord::*field;
    } cases[] = {{Column::X, &PointRecord::x}, {Column::Heading, &PointRecord::r}};
    for (const auto& c : cases) {
        putThree();
        editor.pts[5].*c.field = -30;
        editor.pts[9].*c.field = 50;
        editor.edits.other(false);
        const auto window = open();
        // As a click on the header does.
        window->table().horizontalHeader()->setSortIndicator(static_cast<int>(c.column),
                                                             Qt::AscendingOrder);
        EXPECT_EQ(shownOrder(*window), (std::vector<int>{5, 2, 9})) << "-30, 10, 50";
        editor.edits.run([&c](EditorState& state) { state.pointTable.points[2].*c.field = 100; },
                         false);
        EXPECT_EQ(shownOrder(*window), (std::vector<int>{5, 9, 2})) << static_cast<int>(c.column);
    }
}

TEST_F(Inspector, HeadersNameEveryColumnInTheEditorsLanguage) {
    const struct {
        int english;
        const char* headers;
    } cases[] = {
        {1, "Slot|Colour|Kind|P2|P3|Id|X|Y|Z|Heading (°)"},
        {0, "スロット|色|種類|パラメータ2|パラメータ3|識別番号|X|Y|Z|向き (度)"},
    };
    for (const auto& c : cases) {
        editor.state.english = c.english;
        const auto window = open();
        QStringList headers;
        for (int column = 0; column < ColumnCount; ++column) {
            headers.append(
                window->model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        }
        EXPECT_EQ(headers.join('|').toStdString(), c.headers) << "english " << c.english;
    }
}

TEST_F(Inspector, GoneItHandsTheAfterMessageCallBack) {
    int calls = 0;
    editor.edits.setAfterMessage([&calls] { ++calls; });
    {
        const auto window = open();
        editor.edits.other(false);
        EXPECT_EQ(calls, 1) << "called through the inspector's own";
    }
    editor.edits.other(false);
    EXPECT_EQ(calls, 2) << "called after the inspector went";
}

TEST_F(Inspector, ActivatingARowFramesIt) {
    putThree();
    const auto window = open();
    emit window->table().activated(cell(*window, 9, Column::Id));
    EXPECT_EQ(selectedSlots(editor.state.pointTable), (std::vector<int>{9})) << "selected";
    EXPECT_EQ(editor.state.panX, 50.0f) << "the panes moved to the point's x";
    EXPECT_EQ(editor.state.panZ, 60.0f) << "and to its z, stored negated";
}

TEST_F(Inspector, FindingsFollowEveryChangeNameIdAndKindAndAClickSelectsTheirPoints) {
    putThree();
    const auto window = open();
    EXPECT_EQ(window->findingsList().count(), 0) << "a clean table";
    EXPECT_EQ(window->tabs().tabText(1).toStdString(), "Findings (errors 0, warnings 0)")
        << "the tab's title for a clean table";
    editor.edits.run(
        [](EditorState& state) {
            state.pointTable.points[2].p3 = 99; // the PATH links to an id nobody has
            state.pointTable.points[5].p4 = 4;  // the WEAPON shares the HUMAN's id
            state.pointTable.points[9].p3 = 4;  // the HUMAN walks the path of id 4: shared
        },
        false);
    const std::vector<Finding>& findings = window->findings();
    ASSERT_EQ(window->findingsList().count(), static_cast<int>(findings.size())) << "list rows";
    ASSERT_GE(findings.size(), 2u) << "findings";
    EXPECT_EQ(window->findingsList().item(0)->text().toStdString(),
              "error: id 7, PATH: links to id 99, which no point has")
        << "the first";
    EXPECT_EQ(window->tabs().tabText(1).toStdString(), "Findings (errors 2, warnings 1)")
        << "the tab's title";
    const int shared = 1;
    EXPECT_EQ(window->findingsList().item(shared)->text().toStdString(),
              "error: id 4, HUMAN: links to id 4, which points WEAPON (id 4) and HUMAN (id 4) "
              "share; the link reaches point WEAPON (id 4)")
        << "the shared id";
    emit window->findingsList().itemClicked(window->findingsList().item(shared));
    EXPECT_EQ(selectedSlots(editor.state.pointTable), (std::vector<int>{5, 9})) << "selected";
    EXPECT_EQ(editor.state.panX, 10.0f) << "framed: between x -30 and 50";
    editor.edits.undo(false);
    EXPECT_EQ(window->findingsList().count(), 0) << "after undo";
}

TEST_F(Inspector, SpeaksTheEditorsLanguage) {
    editor.state.english = 0;
    putThree();
    const auto window = open();
    EXPECT_EQ(window->windowTitle().toStdString(), "ポイント一覧") << "title";
    EXPECT_EQ(cell(*window, 5, Column::Kind).data().toString().toStdString(), "武器") << "kind";
    EXPECT_EQ(window->filterField().placeholderText().toStdString(),
              "絞り込み: 種類の名前または識別番号")
        << "what the filter takes";
    EXPECT_EQ(window->legend().item(4)->text().toStdString(),
              "人情報, 種類 9, イベント 歩きに変更, イベント チーム番号変更")
        << "the kinds of the fifth colour";
}

TEST_F(Inspector, OpeningShowsItOnTheFirstRowsKindOrWhereItWas) {
    putThree();
    const auto window = open();
    const auto current = [&] {
        const QModelIndex at = window->table().currentIndex();
        return std::pair(at.row(), at.column());
    };
    window->open();
    EXPECT_TRUE(window->isVisible()) << "shown";
    EXPECT_EQ(current(), std::pair(0, static_cast<int>(Column::Kind))) << "at first";
    window->table().setCurrentIndex(cell(*window, 9, Column::X));
    window->open();
    EXPECT_EQ(current(), std::pair(2, static_cast<int>(Column::X))) << "opened again";
}

TEST_F(Inspector, WithoutARememberedPlaceItOpensBesideTheEditor) {
    QSettings().remove("inspector/geometry");
    QWidget editorWindow;
    editorWindow.setGeometry(40, 60, 800, 600);
    const InspectorWindow window(
        editor.edits, [] {}, &editorWindow);
    const QPoint besides = editorWindow.frameGeometry().topRight() + QPoint(10, 0);
    EXPECT_EQ(std::pair(window.x(), window.y()), std::pair(besides.x(), besides.y()))
        << "10 pixels right of the editor's top right corner";
    EXPECT_EQ(std::pair(window.width(), window.height()), std::pair(760, 480)) << "the first size";
}

TEST_F(Inspector, GeometryIsRememberedBetweenRuns) {
    for (const bool hidden : {true, false}) { // hidden before the end, or shown to the end
        QSettings().remove("inspector/geometry");
        {
            const auto window = open();
            window->setGeometry(120, 140, 500, 300 + hidden);
            window->show();
            if (hidden) {
                window->hide();
            }
        }
        const auto again = open();
        EXPECT_EQ(again->height(), 300 + hidden) << "the height of the last run; hidden " << hidden;
    }
}

TEST_F(Inspector, TheLegendGivesEachMarkerColourItsKinds) {
    const auto window = open();
    ASSERT_EQ(window->legend().count(), 6) << "five kind colours and the selection's";
    EXPECT_EQ(window->legend().item(0)->text().toStdString(),
              "SMALL OBJECT, EVENT SUCCESSFUL, EVENT WAIT DESTROY")
        << "the first colour's kinds";
    EXPECT_EQ(window->legend().item(0)->data(Qt::DecorationRole).value<QColor>().rgba(),
              kindPalette[0])
        << "the first colour";
    EXPECT_EQ(window->legend().item(5)->data(Qt::DecorationRole).value<QColor>().rgba(),
              SelectedPointColour)
        << "the selection's colour";
    EXPECT_EQ(window->legend().item(5)->text().toStdString(),
              "selected points, whatever their kind")
        << "the selection's entry";
}

} // namespace
} // namespace tavo
