#include "missioneditor/mission_dialog.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>

#include "common/files/file_read.h"
#include "common/files/file_write.h"
#include "common/files/printable.h"
#include "common/font/window_font.h"
#include "missioneditor/cp932_limit.h"
#include "missioneditor/mission_file.h"
#include "missioneditor/mission_paths.h"
#include "missioneditor/tab_keeps_text.h"
#include "tools/pointtool/mission_check.h"
#include "ui_mission_dialog.h"

namespace tavo::mission {
namespace {

QString toQString(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

const FileFilter MissionFilter{FilterName, FilterPattern};

void showError(DesktopServices& services, const QString& text) {
    services.messageBox(text.toStdString(), ErrorCaption, BoxButtons::Ok, BoxIcon::Error, true);
}

QString controlText(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    return {};
}

void setControlText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    }
}

// The file's name in a title or a question: the last part of its path, as UTF-8 with the bytes of
// any other encoding escaped.
QString shownName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return QString::fromStdString(
        printableUtf8(slash == std::string::npos ? path : path.substr(slash + 1)));
}

// "1 byte", "2 bytes"
QString count(std::size_t n, const char* one, const char* many) {
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
}

// What reading did to one field, a line each, as the load's warning tells it.
QStringList changesOf(const FieldRead& field, std::size_t limit, bool english) {
    QStringList changes;
    if (field.cut) {
        // A cut keeps all but at most one byte of the limit: never a single byte.
        changes << (english ? QStringLiteral("cut to its first %1 bytes (the file has %2; the "
                                             "field holds %3)")
                                  .arg(field.bytes.size())
                                  .arg(field.sizeInFile)
                                  .arg(limit)
                            : QStringLiteral("先頭の %1 バイトに切り詰めました（ファイルでは %2 "
                                             "バイト、欄は最大 %3 バイト）")
                                  .arg(field.bytes.size())
                                  .arg(field.sizeInFile)
                                  .arg(limit));
    }
    if (field.carriageReturns > 0) {
        const auto n = static_cast<std::size_t>(field.carriageReturns);
        changes << (english ? count(n, "carriage return (CR)", "carriage returns (CR)") +
                                  QStringLiteral(" removed")
                            : QStringLiteral("復帰文字 (CR) を %1 個削除しました").arg(n));
    }
    if (field.replaced > 0) {
        const auto n = static_cast<std::size_t>(field.replaced);
        changes << (english
                        ? count(n, "byte that is not", "bytes that are not") +
                              QStringLiteral(" Shift-JIS shown as \uFFFD, kept as in the file "
                                             "unless the field is edited")
                        : QStringLiteral("Shift-JIS でない %1 バイトを \uFFFD で表示しています。"
                                         "欄を編集しなければ元のまま保存します")
                              .arg(n));
    }
    return changes;
}

// The label that names a field in messages, in the language shown.
int labelOf(Field field) {
    switch (field) {
    case Field::MissionName:
        return MissionNameLabel;
    case Field::FullName:
        return FullNameLabel;
    case Field::BlockPath:
        return BlockPathLabel;
    case Field::PointPath:
        return PointPathLabel;
    case Field::SkyIndex:
    case Field::Flags:
        return SkyLabel; // numbers always write; never reached
    case Field::AddonObjectPath:
        return AddonObjectLabel;
    case Field::Image1Path:
        return Image1Label;
    case Field::Image2Path:
        return Image2Label;
    case Field::BriefingText:
        return BriefingLabel;
    }
    return SkyLabel;
}

// The point editor of this installation: beside this program, else the one on PATH.
QString pointEditorProgram() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/pointeditor");
    if (QFileInfo(beside).isExecutable()) {
        return beside;
    }
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("pointeditor"));
    return onPath.isEmpty() ? QStringLiteral("pointeditor") : onPath;
}

// The text of the check's box: how much was found, the root, then the first findings.
QString missionCheckText(const MissionReport& report, bool english) {
    constexpr std::size_t Shown = 8;
    const int errors = report.summary.errors, warnings = report.summary.warnings;
    QStringList lines;
    lines << (english ? QStringLiteral("%1 %2, %3 %4")
                            .arg(errors)
                            .arg(errors == 1 ? "error" : "errors")
                            .arg(warnings)
                            .arg(warnings == 1 ? "warning" : "warnings")
                      : QStringLiteral("エラー %1 件、警告 %2 件").arg(errors).arg(warnings));
    lines << QString::fromStdString(describeRoot(report, english));
    const std::size_t shown = std::min(report.findings.size(), Shown);
    for (std::size_t i = 0; i < shown; ++i) {
        lines << QString::fromStdString(describeMissionFinding(report.findings[i], english));
    }
    if (report.findings.size() > shown) {
        const auto more = report.findings.size() - shown;
        lines << (english ? QStringLiteral("... %1 more").arg(more)
                          : QStringLiteral("ほか %1 件").arg(more));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

MissionDialog::MissionDialog(DesktopServices& services, bool japanese, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::MissionDialog>()), services_(services) {
    ui_->setupUi(this);
    // The template's 12-point font at 96 dpi, the size its dialog units (2 px each) are made for.
    setFont(windowFont());
    move(20, 20);

    for (QWidget* widget : findChildren<QWidget*>()) {
        const QVariant id = widget->property("controlId");
        if (id.isValid()) {
            controls_.insert(id.toInt(), widget);
        }
    }
    for (std::size_t k = 0; k < labelSwapTable.size(); ++k) {
        swapSlots_[k] = QString::fromUtf8(labelSwapTable[k].text);
    }

    const std::pair<QLineEdit*, Field> oneLineEdits[] = {
        {ui_->missionNameEdit, Field::MissionName},     {ui_->fullNameEdit, Field::FullName},
        {ui_->blockPathEdit, Field::BlockPath},         {ui_->pointPathEdit, Field::PointPath},
        {ui_->addonObjectEdit, Field::AddonObjectPath}, {ui_->image1Edit, Field::Image1Path},
        {ui_->image2Edit, Field::Image2Path},
    };
    for (const auto& [edit, field] : oneLineEdits) {
        edit->setValidator(new OneLineLimit(fieldLimit(field), edit));
    }
    briefingLimit_ = new MultiLineLimit(ui_->briefingEdit, fieldLimit(Field::BriefingText));

    fillSkyList();
    ui_->skyList->setCurrentIndex(0);
    ui_->image2Edit->setEnabled(false);
    ui_->addonObjectEdit->setEnabled(false);
    connect(ui_->addonObjectCheck, &QCheckBox::toggled, ui_->addonObjectEdit, &QWidget::setEnabled);
    connect(ui_->image2Check, &QCheckBox::toggled, ui_->image2Edit, &QWidget::setEnabled);
    connect(ui_->loadButton, &QPushButton::clicked, this, &MissionDialog::load);
    connect(ui_->saveButton, &QPushButton::clicked, this, &MissionDialog::save);
    connect(ui_->languageButton, &QPushButton::clicked, this, &MissionDialog::switchLanguage);

    if (!japanese) {
        switchLanguage();
    }
    qtTexts_.use(!english_);
    showPathSeparators();
    ui_->blockPathEdit->setText(QString::fromUtf8(DefaultBlockPath));
    ui_->pointPathEdit->setText(QString::fromUtf8(DefaultPointPath));
    ui_->image1Edit->setText(QString::fromUtf8(DefaultImage1Path));
    savedInfo_ = missionInfo();

    // Every edit may change whether there is something unsaved; the title tells.
    for (auto* edit : findChildren<QLineEdit*>()) {
        connect(edit, &QLineEdit::textChanged, this, &MissionDialog::refreshTitle);
    }
    for (auto* check : findChildren<QCheckBox*>()) {
        connect(check, &QCheckBox::toggled, this, &MissionDialog::refreshTitle);
    }
    connect(ui_->briefingEdit, &QPlainTextEdit::textChanged, this, &MissionDialog::refreshTitle);
    connect(ui_->skyList, &QComboBox::currentIndexChanged, this, &MissionDialog::refreshTitle);
    refreshTitle();
    TabKeepsText::installOn(this);
    launcher_ = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
}

MissionDialog::~MissionDialog() = default;

QWidget* MissionDialog::control(int id) const {
    return controls_.value(id, nullptr);
}

MissionInfo MissionDialog::missionInfo() const {
    MissionInfo info;
    info.missionName = ui_->missionNameEdit->text().toStdString();
    info.fullName = ui_->fullNameEdit->text().toStdString();
    info.blockPath = ui_->blockPathEdit->text().toStdString();
    info.pointPath = ui_->pointPathEdit->text().toStdString();
    const int row = ui_->skyList->currentIndex();
    info.skyIndex = row < SkyCount ? std::max(row, 0) : ui_->skyList->currentData().toInt();
    info.flags = keptFlags_ | (ui_->extraCollisionCheck->isChecked() ? ExtraCollisionFlag : 0) |
                 (ui_->darkScreenCheck->isChecked() ? DarkScreenFlag : 0);
    info.hasAddonObject = ui_->addonObjectCheck->isChecked();
    info.addonObjectPath = ui_->addonObjectEdit->text().toStdString();
    info.image1Path = ui_->image1Edit->text().toStdString();
    info.hasImage2 = ui_->image2Check->isChecked();
    info.image2Path = ui_->image2Edit->text().toStdString();
    info.briefingText = ui_->briefingEdit->toPlainText().toStdString();
    return info;
}

void MissionDialog::showMissionInfo(const MissionInfo& info) {
    ui_->missionNameEdit->setText(toQString(info.missionName));
    ui_->fullNameEdit->setText(toQString(info.fullName));
    ui_->blockPathEdit->setText(toQString(info.blockPath));
    ui_->pointPathEdit->setText(toQString(info.pointPath));

    // A sky the list does not know gets a row of its own, so saving writes it back unchanged.
    while (ui_->skyList->count() > SkyCount) {
        ui_->skyList->removeItem(SkyCount);
    }
    if (info.skyIndex >= 0 && info.skyIndex < SkyCount) {
        ui_->skyList->setCurrentIndex(info.skyIndex);
    } else {
        ui_->skyList->addItem(QString::number(info.skyIndex), info.skyIndex);
        ui_->skyList->setCurrentIndex(SkyCount);
    }

    keptFlags_ = info.flags & ~(ExtraCollisionFlag | DarkScreenFlag);
    ui_->extraCollisionCheck->setChecked((info.flags & ExtraCollisionFlag) != 0);
    ui_->darkScreenCheck->setChecked((info.flags & DarkScreenFlag) != 0);

    ui_->addonObjectCheck->setChecked(info.hasAddonObject);
    ui_->addonObjectEdit->setText(info.hasAddonObject ? toQString(info.addonObjectPath)
                                                      : QString());
    ui_->addonObjectEdit->setEnabled(info.hasAddonObject);
    ui_->image1Edit->setText(toQString(info.image1Path));
    ui_->image2Check->setChecked(info.hasImage2);
    ui_->image2Edit->setText(info.hasImage2 ? toQString(info.image2Path) : QString());
    ui_->image2Edit->setEnabled(info.hasImage2);

    briefingLimit_->setText(toQString(info.briefingText));
}

void MissionDialog::load() {
    if (!settleEdits()) {
        return;
    }
    if (const auto path = services_.openFileDialog(LoadTitle, MissionFilter)) {
        openFile(*path);
    }
}

bool MissionDialog::openFile(const std::string& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) {
        const bool tooLarge = bytes.error().kind == FileErrorKind::TooLarge;
        const QString limit = QString::number(DataFileLimit);
        showError(services_,
                  !tooLarge  ? QString::fromUtf8(OpenError)
                  : english_ ? QStringLiteral("file too large (a mission file holds at most ") +
                                   limit + QStringLiteral(" bytes)")
                             : QStringLiteral("ファイルが大きすぎます（ミッションファイルは最大 ") +
                                   limit + QStringLiteral(" バイトです）"));
        return false;
    }
    loaded_ = readMissionFile(*bytes);
    showMissionInfo(loaded_->info);
    markSaved(path);
    // What the load had to cut or replace is not in the file yet: unsaved, as after an edit.
    loadChanged_ = loaded_->changed();
    refreshTitle();
    reportLoadChanges(*loaded_);
    return true;
}

void MissionDialog::reportLoadChanges(const MissionRead& read) {
    if (!read.changed()) {
        return;
    }
    QStringList lines{english_ ? QStringLiteral("Loading changed what these fields show:")
                               : QStringLiteral("読み込みで次の欄の内容が変わりました:")};
    for (std::size_t f = 0; f < FieldCount; ++f) {
        const auto field = static_cast<Field>(f);
        for (const QString& change : changesOf(read.fields[f], fieldLimit(field), english_)) {
            lines << fieldLabel(field) + QStringLiteral(": ") + change;
        }
    }
    services_.messageBox(lines.join(QLatin1Char('\n')).toStdString(), LoadTitle, BoxButtons::Ok,
                         BoxIcon::Warning);
}

bool MissionDialog::saveToCurrent() {
    return currentPath_.empty() ? save() : writeTo(currentPath_);
}

bool MissionDialog::save() {
    // Text the file cannot hold is refused before a file is even chosen.
    if (const auto file = writeMissionInfo(missionInfo(), loaded_ ? &*loaded_ : nullptr); !file) {
        reportProblem(file.error());
        return false;
    }
    const auto path = services_.saveFileDialog(SaveTitle, MissionFilter, {});
    return path && writeTo(*path);
}

bool MissionDialog::writeTo(const std::string& path) {
    const auto file = writeMissionInfo(missionInfo(), loaded_ ? &*loaded_ : nullptr);
    if (!file) {
        reportProblem(file.error());
        return false;
    }
    if (!mayOverwrite(path)) {
        return false;
    }
    const FileResult<void> saved = saveFileBytes(path, *file);
    if (!saved) {
        const FileError& error = saved.error();
        if (error.kind == FileErrorKind::FolderNotWritable) {
            const std::string name = printable(path.substr(path.rfind('/') + 1));
            showError(services_, QString::fromStdString(folderNotWritableText(
                                     name, printable(error.folder), !english_)));
            return false;
        }
        const bool opened = error.kind == FileErrorKind::WriteFailed;
        showError(services_, QString::fromUtf8(opened ? WriteError : OpenError));
        return false;
    }
    markSaved(path);
    return true;
}

// Saving over the file last loaded or saved, after someone else changed it, would lose their
// change without a word: the author decides, and No (the default) writes nothing.
bool MissionDialog::mayOverwrite(const std::string& path) {
    if (!currentStamp_ || currentStamp_->path != path || !changedOnDisk(*currentStamp_, path)) {
        return true;
    }
    const QString name = shownName(path);
    const QString text =
        english_
            ? QStringLiteral("%1 was changed on disk since it was loaded. Overwrite it?").arg(name)
            : QStringLiteral("%1 は読み込んだ後にディスク上で変更されました。上書きしますか？")
                  .arg(name);
    return services_.messageBox(text.toStdString(), DialogTitle, BoxButtons::YesNoDefaultNo,
                                BoxIcon::Warning) == BoxAnswer::Yes;
}

void MissionDialog::markSaved(const std::string& path) {
    currentPath_ = path;
    currentStamp_ = takeFileStamp(path);
    savedInfo_ = missionInfo();
    loadChanged_ = false;
    refreshTitle();
}

bool MissionDialog::settleEdits() {
    if (!edited()) {
        return true;
    }
    const QString name = shownName(currentPath_);
    const QString text = english_
                             ? QStringLiteral("Save the changes to %1?")
                                   .arg(name.isEmpty() ? QStringLiteral("the new mission") : name)
                             : QStringLiteral("%1 への変更を保存しますか？")
                                   .arg(name.isEmpty() ? QStringLiteral("新しいミッション") : name);
    switch (services_.messageBox(text.toStdString(), DialogTitle, BoxButtons::SaveDiscardCancel,
                                 BoxIcon::Question)) {
    case BoxAnswer::Save:
        return saveToCurrent();
    case BoxAnswer::Discard:
        return true;
    default: // Cancel, Escape, the box closed
        return false;
    }
}

void MissionDialog::refreshTitle() {
    QString title = QString::fromUtf8(DialogTitle);
    if (!currentPath_.empty()) {
        title += QStringLiteral(" - ") + shownName(currentPath_);
    }
    if (edited()) {
        title += QStringLiteral(" *");
    }
    setWindowTitle(title);
}

void MissionDialog::switchLanguage() {
    // Each label and its slot trade texts, so the button always names the language it switches to.
    for (std::size_t k = 0; k < labelSwapTable.size(); ++k) {
        QWidget* target = control(labelSwapTable[k].control);
        const QString shown = controlText(target);
        setControlText(target, swapSlots_[k]);
        swapSlots_[k] = shown;
    }
    english_ = !english_;
    qtTexts_.use(!english_);
    showPathSeparators();
    fillSkyList();
}

void MissionDialog::showPathSeparators() {
    // The game reads 0x5C in these paths as the folder separator. The window font shows it as a
    // yen sign, as a Japanese system does; in English it is shown as the backslash it is.
    const QFont font = english_ ? backslashFont() : windowFont();
    for (QLineEdit* edit : {ui_->blockPathEdit, ui_->pointPathEdit, ui_->image1Edit,
                            ui_->image2Edit, ui_->addonObjectEdit}) {
        edit->setFont(font);
    }
}

void MissionDialog::fillSkyList() {
    // Renaming the rows in place keeps the selection, and any row for an unknown sky.
    const auto& names = english_ ? SkyNamesEnglish : SkyNamesJapanese;
    for (int row = 0; row < SkyCount; ++row) {
        const QString name = QString::fromUtf8(names[static_cast<std::size_t>(row)]);
        if (row < ui_->skyList->count()) {
            ui_->skyList->setItemText(row, name);
        } else {
            ui_->skyList->addItem(name);
        }
    }
}

QString MissionDialog::fieldLabel(Field field) const {
    return controlText(control(labelOf(field)));
}

void MissionDialog::reportProblem(const FieldProblem& problem) {
    const QString field = fieldLabel(problem.field);
    QString text;
    switch (problem.problem) {
    case Problem::NoCp932Form:
        text = QStringLiteral("\"%1\" holds a character that a mission file cannot store "
                              "(it has no Shift-JIS form). Nothing was written.")
                   .arg(field);
        break;
    case Problem::TooLong:
        text = QStringLiteral("\"%1\" is longer than %2 bytes in Shift-JIS. Nothing was written.")
                   .arg(field)
                   .arg(fieldLimit(problem.field));
        break;
    case Problem::LineEnd:
        text = QStringLiteral("\"%1\" must be a single line. Nothing was written.").arg(field);
        break;
    case Problem::StartsWithNone:
        text = QStringLiteral("\"%1\" cannot begin with \"!\": the game would read it as no file. "
                              "Nothing was written.")
                   .arg(field);
        break;
    }
    showError(services_, text);
}

void MissionDialog::checkMission() {
    const MissionReport report = tavo::checkMission(missionInfo(), loaded_ ? &*loaded_ : nullptr,
                                                    startFolder(currentPath_), std::nullopt);
    const bool clean = report.findings.empty();
    services_.messageBox(missionCheckText(report, english_).toStdString(),
                         english_ ? "MISSION CHECK" : "ミッションの点検", BoxButtons::Ok,
                         clean ? BoxIcon::None : BoxIcon::Warning);
}

void MissionDialog::openInPointEditor() {
    const auto files = resolveMissionFiles(missionInfo(), startFolder(currentPath_), std::nullopt);
    if (!files) {
        services_.messageBox(describeUnresolved(files.error(), english_), "POINT EDITOR",
                             BoxButtons::Ok, BoxIcon::Warning);
        return;
    }
    // The files as the bytes the system names them by, whatever their encoding.
    const QStringList arguments{english_ ? QStringLiteral("e") : QStringLiteral("j"),
                                QFile::decodeName(files->mapPath.c_str()),
                                QFile::decodeName(files->pointPath.c_str())};
    const QString program = pointEditorProgram();
    if (!launcher_(program, arguments)) {
        showError(services_, english_ ? QStringLiteral("cannot start %1").arg(program)
                                      : QStringLiteral("%1 を起動できません").arg(program));
    }
}

void MissionDialog::keyPressEvent(QKeyEvent* event) {
    // Escape does not close the editor; only closing the window does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_S) {
        saveToCurrent();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_O) {
        load();
        return;
    }
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_F5) {
        checkMission();
        return;
    }
    if ((event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_F6) ||
        (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_E)) {
        openInPointEditor();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MissionDialog::closeEvent(QCloseEvent* event) {
    if (settleEdits()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace tavo::mission
