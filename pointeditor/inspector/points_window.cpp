#include "pointeditor/inspector/points_window.h"

#include <QtCore/QSettings>
#include <QtGui/QColor>
#include <QtGui/QHideEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QStyledItemDelegate>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableView>
#include <QtWidgets/QToolTip>
#include <QtWidgets/QVBoxLayout>
#include <array>

#include "pointeditor/data/point_links.h"
#include "pointeditor/data/selection.h"
#include "pointeditor/edit/framing.h"
#include "pointeditor/view/point_markers.h"

namespace tavo {
namespace {

constexpr char GeometryKey[] = "inspector/geometry";
constexpr int GapToEditor = 10;      // pixels between the editor and the inspector placed beside it
constexpr QSize FirstSize(760, 480); // room for every column at the default font

QString say(bool english, const char* inEnglish, const char* inJapanese) {
    return QString::fromUtf8(english ? inEnglish : inJapanese);
}

// Kind and the parameters with names pick from a drop-down of the names (a value without a name
// stays as its number); the other parameters and the id take a spin box; positions and the
// heading are typed, and a value the field cannot take is refused where it was typed.
class CellDelegate : public QStyledItemDelegate {
public:
    // answered: after each value given back, whether the model took it.
    CellDelegate(bool english, std::function<void(const QModelIndex&, bool)> answered,
                 QObject* parent)
        : QStyledItemDelegate(parent), english_(english), answered_(std::move(answered)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const Column column = static_cast<Column>(index.column());
        if (column == Column::Kind || column == Column::Second || column == Column::Third ||
            column == Column::Id) {
            if (const NameTable* names = namesFor(column, kindAt(index))) {
                return namesBox(*names, index.data(Qt::EditRole).toInt(), parent);
            }
            auto* spin = new QSpinBox(parent);
            spin->setRange(-128, 127);
            return spin;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const int value = index.data(Qt::EditRole).toInt();
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentIndex(box->findData(value));
        } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
            spin->setValue(value);
        } else {
            QStyledItemDelegate::setEditorData(editor, index);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QVariant value;
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            value = box->currentData();
        } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
            spin->interpretText();
            value = spin->value();
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            value = line->text();
        }
        const bool accepted = model->setData(index, value, Qt::EditRole);
        if (answered_) {
            answered_(index, accepted);
        }
    }

private:
    static int kindAt(const QModelIndex& index) {
        return index.siblingAtColumn(static_cast<int>(Column::Kind))
            .data(PointsModel::NumberRole)
            .toInt();
    }

    QComboBox* namesBox(const NameTable& names, int current, QWidget* parent) const {
        auto* box = new QComboBox(parent);
        for (int value = names.firstIndex; value < names.count; ++value) {
            const auto name = lookupName(names, value, english_);
            if (name && !name->empty()) {
                box->addItem(QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size())),
                             value);
            }
        }
        if (box->findData(current) < 0) {
            box->insertItem(0, QString::number(current), current);
        }
        return box;
    }

    bool english_;
    std::function<void(const QModelIndex&, bool)> answered_;
};

QColor colourOf(uint32_t argb) {
    return QColor::fromRgba(argb);
}

} // namespace

InspectorWindow::InspectorWindow(EditSession& edits, std::function<void()> redraw, QWidget* editor)
    : QWidget(editor, Qt::Tool), model_(edits, std::move(redraw)), filter_(model_) {
    setWindowTitle(say(english(), "POINT INSPECTOR", "ポイント一覧"));
    tabs_ = new QTabWidget(this);
    tabs_->addTab(makePointsTab(), say(english(), "Points", "ポイント"));
    tabs_->addTab(makeFindingsTab(), QString());
    tabs_->addTab(makeLegendTab(), say(english(), "Colours", "色"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    model_.setAfterRefresh([this] { afterRefresh(); });
    afterRefresh();

    if (!restoreGeometry(QSettings().value(GeometryKey).toByteArray())) {
        resize(FirstSize);
        if (editor != nullptr) {
            move(editor->frameGeometry().topRight() + QPoint(GapToEditor, 0));
        }
    }
}

InspectorWindow::~InspectorWindow() {
    if (isVisible()) {
        rememberGeometry();
    }
}

QWidget* InspectorWindow::makePointsTab() {
    auto* tab = new QWidget;
    filterField_ = new QLineEdit;
    filterField_->setPlaceholderText(
        say(english(), "filter: a kind's name or an id", "絞り込み: 種類の名前または識別番号"));
    kindsFilter_ = new QComboBox;
    for (int group = 0; group < KindGroupCount; ++group) {
        kindsFilter_->addItem(kindGroupLabel(static_cast<KindGroup>(group), english()), group);
    }
    nextFreeId_ = new QPushButton(say(english(), "Next free id", "空き識別番号"));
    auto* controls = new QHBoxLayout;
    controls->addWidget(filterField_, 1);
    controls->addWidget(kindsFilter_);
    controls->addWidget(nextFreeId_);

    table_ = new QTableView;
    table_->setModel(&filter_);
    table_->setItemDelegate(new CellDelegate(
        english(), [this](const QModelIndex& at, bool accepted) { tellAnswer(at, accepted); },
        table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A double-click frames the point, so editing starts from the keyboard or a second click.
    table_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                            QAbstractItemView::SelectedClicked);
    table_->setSortingEnabled(true);
    table_->sortByColumn(static_cast<int>(Column::Slot), Qt::AscendingOrder);
    table_->verticalHeader()->hide();
    refusal_ = new QLabel;

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(controls);
    layout->addWidget(table_, 1);
    layout->addWidget(refusal_);

    connect(filterField_, &QLineEdit::textChanged, this,
            [this](const QString& text) { applyFilter([&] { filter_.setText(text); }); });
    connect(kindsFilter_, &QComboBox::currentIndexChanged, this, [this](int group) {
        applyFilter([&] { filter_.setGroup(static_cast<KindGroup>(group)); });
    });
    connect(nextFreeId_, &QPushButton::clicked, this,
            [this] { refusal_->setText(model_.giveFreeIds() ? QString() : model_.refusal()); });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectionFromTable(); });
    connect(table_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& at) { frameRow(at); });
    return tab;
}

QWidget* InspectorWindow::makeFindingsTab() {
    findings_ = new QListWidget;
    connect(findings_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showFinding(findings_->row(item)); });
    connect(findings_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showFinding(findings_->row(item)); });
    return findings_;
}

QWidget* InspectorWindow::makeLegendTab() {
    legend_ = new QListWidget;
    const auto add = [this](uint32_t argb, const QString& kinds) {
        auto* item = new QListWidgetItem(kinds, legend_);
        item->setData(Qt::DecorationRole, colourOf(argb));
    };
    for (int entry = 0; entry < static_cast<int>(kindPalette.size()); ++entry) {
        QStringList names;
        for (int kind : kindsOfColour(entry)) {
            names.append(QString::fromStdString(kindLabel(kind, english())));
        }
        add(kindPalette[static_cast<std::size_t>(entry)], names.join(QStringLiteral(", ")));
    }
    add(SelectedPointColour,
        say(english(), "selected points, whatever their kind", "選択中のポイント (種類によらず)"));
    return legend_;
}

void InspectorWindow::open() {
    show();
    raise();
    activateWindow();
    table_->setFocus();
    if (!table_->currentIndex().isValid() && filter_.rowCount() > 0) {
        table_->selectionModel()->setCurrentIndex(filter_.index(0, static_cast<int>(Column::Kind)),
                                                  QItemSelectionModel::NoUpdate);
    }
}

void InspectorWindow::afterRefresh() {
    selectionToTable();
    refreshFindings();
}

void InspectorWindow::selectionToTable() {
    QItemSelection rows;
    bool same = true;
    const PointTable& points = model_.table();
    for (int row = 0; row < filter_.rowCount(); ++row) {
        const QModelIndex at = filter_.index(row, 0);
        const int slot = model_.slotAt(filter_.mapToSource(at).row());
        const bool selected = points.pointUsed[static_cast<std::size_t>(slot)] == SlotSelected;
        if (selected) {
            rows.select(at, filter_.index(row, ColumnCount - 1));
        }
        same = same && selected == table_->selectionModel()->isRowSelected(row);
    }
    // Left alone when it already agrees: a selection the user is still dragging out stays his.
    if (same) {
        return;
    }
    syncing_ = true;
    table_->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
}

void InspectorWindow::selectionFromTable() {
    if (syncing_) {
        return;
    }
    std::array<bool, MaxPoints> chosen{};
    for (const QModelIndex& at : table_->selectionModel()->selectedRows()) {
        chosen[static_cast<std::size_t>(model_.slotAt(filter_.mapToSource(at).row()))] = true;
    }
    const PointTable& points = model_.table();
    bool same = true;
    for (int slot = 0; slot < MaxPoints; ++slot) {
        const SlotState used = points.pointUsed[static_cast<std::size_t>(slot)];
        same = same && (used == SlotFree || (used == SlotSelected) == chosen[slot]);
    }
    if (same) {
        return;
    }
    model_.runCommand([&chosen](EditorState& state) {
        for (int slot = 0; slot < MaxPoints; ++slot) {
            SlotState& used = state.pointTable.pointUsed[static_cast<std::size_t>(slot)];
            if (used != SlotFree) {
                used = chosen[slot] ? SlotSelected : SlotUsed;
            }
        }
    });
}

void InspectorWindow::frameRow(const QModelIndex& proxyIndex) {
    if (!proxyIndex.isValid()) {
        return;
    }
    const int slot = model_.slotAt(filter_.mapToSource(proxyIndex).row());
    model_.runCommand([slot](EditorState& state) {
        if (state.pointTable.pointUsed[static_cast<std::size_t>(slot)] != SlotSelected) {
            selectOnly(state.pointTable, slot);
        }
        frameSelection(state);
    });
}

void InspectorWindow::showFinding(int row) {
    if (row < 0 || row >= static_cast<int>(shownFindings_.size())) {
        return;
    }
    const std::vector<int> targets = findingSlots(shownFindings_[static_cast<std::size_t>(row)]);
    if (targets.empty()) {
        return;
    }
    model_.runCommand([&targets](EditorState& state) {
        clearSelection(state.pointTable);
        for (int slot : targets) {
            SlotState& used = state.pointTable.pointUsed[static_cast<std::size_t>(slot)];
            if (used != SlotFree) {
                used = SlotSelected;
            }
        }
        frameSelection(state);
    });
}

void InspectorWindow::refreshFindings() {
    CheckReport report = checkPointTable(model_.table());
    std::vector<QString> texts;
    for (const Finding& finding : report.findings) {
        texts.push_back(findingText(finding, model_.table(), english()));
    }
    shownFindings_ = std::move(report.findings);
    if (texts == shownFindingTexts_ && !tabs_->tabText(1).isEmpty()) {
        return;
    }
    shownFindingTexts_ = texts;
    findings_->clear();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        auto* item = new QListWidgetItem(texts[i], findings_);
        if (shownFindings_[i].severity == Severity::Error) {
            item->setForeground(QColor(Qt::darkRed));
        }
    }
    const QString errors = QString::number(report.summary.errors);
    const QString warnings = QString::number(report.summary.warnings);
    tabs_->setTabText(1, english() ? "Findings (errors " + errors + ", warnings " + warnings + ")"
                                   : QString::fromUtf8("検査結果 (エラー ") + errors +
                                         QString::fromUtf8(" 件, 警告 ") + warnings +
                                         QString::fromUtf8(" 件)"));
}

void InspectorWindow::tellAnswer(const QModelIndex& proxyIndex, bool accepted) {
    if (accepted) {
        refusal_->clear();
        return;
    }
    const QString header =
        filter_.headerData(proxyIndex.column(), Qt::Horizontal, Qt::DisplayRole).toString();
    const QString reason = header + ": " + model_.refusal();
    refusal_->setText(reason);
    QToolTip::showText(table_->viewport()->mapToGlobal(table_->visualRect(proxyIndex).bottomLeft()),
                       reason, table_);
}

void InspectorWindow::applyFilter(const std::function<void()>& change) {
    // Rows the filter hides drop out of the table's selection; the points stay selected.
    syncing_ = true;
    change();
    syncing_ = false;
    selectionToTable();
}

void InspectorWindow::hideEvent(QHideEvent* event) {
    rememberGeometry();
    QWidget::hideEvent(event);
}

void InspectorWindow::rememberGeometry() {
    QSettings().setValue(GeometryKey, saveGeometry());
}

} // namespace tavo
