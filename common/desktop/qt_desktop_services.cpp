#include "common/desktop/qt_desktop_services.h"

#include <algorithm>
#include <utility>

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSettings>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontMetrics>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QMessageBox>

namespace tavo {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon boxIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Error:
        return QMessageBox::Critical;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Warning:
        return QMessageBox::Warning;
    case BoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::SaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    case BoxButtons::YesNo:
    case BoxButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

BoxAnswer boxAnswer(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return BoxAnswer::Ok;
    case QMessageBox::Save:
        return BoxAnswer::Save;
    case QMessageBox::Discard:
        return BoxAnswer::Discard;
    case QMessageBox::Yes:
        return BoxAnswer::Yes;
    case QMessageBox::No:
        return BoxAnswer::No;
    default: // Cancel, Escape, the box closed from its title bar
        return BoxAnswer::Cancel;
    }
}

// One remembered folder per kind of file, keyed by the filter's pattern.
QString folderKey(const FileFilter& filter) {
    return QStringLiteral("folders/") + QString::fromStdString(filter.pattern).remove('*');
}

} // namespace

void fitCaption(QMessageBox& box) {
    // Qt makes a box as wide as its text and its caption in the box's own font, with a little
    // room; the window manager draws the caption in its title font beside its icon and buttons,
    // and cuts it to a few letters. Room for the title font and for the title bar's icon and
    // three buttons keeps it whole.
    const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    const int width = title.horizontalAdvance(box.windowTitle()) + TitleBarRoom * title.height();
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        // QMessageBox sets its own size from its contents and ignores a minimum width; a spacer
        // in its layout is part of those contents.
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

std::string nameFilterFor(const FileFilter& filter) {
    return filter.description + " (" + filter.pattern + ")";
}

std::string defaultSuffixFor(const FileFilter& filter) {
    const std::string_view pattern = filter.pattern;
    if (!pattern.starts_with("*.")) {
        return {};
    }
    const std::string_view suffix = pattern.substr(2);
    const bool plain = std::none_of(suffix.begin(), suffix.end(), [](char c) {
        return c == '*' || c == '?' || c == '[' || c == ' ' || c == '.';
    });
    return plain ? std::string(suffix) : std::string();
}

QtDesktopServices::QtDesktopServices(QWidget* owner, DesktopStyle style)
    : owner_(owner), style_(std::move(style)) {}

void QtDesktopServices::beforeModal() {
    if (style_.beforeModal) {
        style_.beforeModal();
    }
}

BoxAnswer QtDesktopServices::messageBox(std::string_view text, std::string_view caption,
                                        BoxButtons buttons, BoxIcon icon, bool ownerless) {
    QWidget* owner = ownerless ? nullptr : owner_;
    QMessageBox box(boxIcon(icon), fromUtf8(caption), fromUtf8(text), boxButtons(buttons), owner);
    switch (buttons) {
    case BoxButtons::SaveDiscardCancel:
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case BoxButtons::YesNo:
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case BoxButtons::YesNoDefaultNo:
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    default:
        box.setDefaultButton(QMessageBox::Ok);
        break;
    }
    if (style_.wholeCaption) {
        fitCaption(box);
    }
    if (owner != nullptr) {
        beforeModal();
    }
    const int answer = box.exec();
    if (buttons == BoxButtons::Ok) {
        return BoxAnswer::Ok;
    }
    return boxAnswer(answer);
}

std::optional<std::string> QtDesktopServices::openFileDialog(std::string_view title,
                                                             const FileFilter& filter) {
    return fileDialog(false, title, filter, {});
}

std::optional<std::string> QtDesktopServices::saveFileDialog(std::string_view title,
                                                             const FileFilter& filter,
                                                             std::string_view proposedPath) {
    return fileDialog(true, title, filter, proposedPath);
}

std::optional<std::string> QtDesktopServices::fileDialog(bool save, std::string_view title,
                                                         const FileFilter& filter,
                                                         std::string_view proposedPath) {
    const QString proposed =
        QFile::decodeName(QByteArray::fromStdString(std::string(proposedPath)));
    std::optional<QString> chosen;
    if (style_.ownFileDialog) {
        chosen = ownFileDialog(save, fromUtf8(title), filter, proposed);
    } else if (QString path = desktopFileDialog(save, fromUtf8(title), filter, proposed);
               !path.isEmpty()) {
        chosen = path;
    }
    if (!chosen) {
        return std::nullopt;
    }
    return QFile::encodeName(*chosen).toStdString();
}

std::optional<QString> QtDesktopServices::ownFileDialog(bool save, const QString& title,
                                                        const FileFilter& filter,
                                                        const QString& proposedPath) {
    QSettings settings;
    QFileDialog dialog(owner_, title);
    const QString folder = settings.value(folderKey(filter)).toString();
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    if (!proposedPath.isEmpty()) {
        dialog.selectFile(proposedPath);
    }
    // Qt's own dialog everywhere, so that it looks and answers the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QString::fromStdString(nameFilterFor(filter)));
    const std::optional<QString> chosen = runFileDialog(dialog, save, filter);
    if (chosen) {
        settings.setValue(folderKey(filter), QFileInfo(*chosen).absolutePath());
    }
    return chosen;
}

QString QtDesktopServices::desktopFileDialog(bool save, const QString& title,
                                             const FileFilter& filter,
                                             const QString& proposedPath) {
    QFileDialog dialog(owner_, title);
    if (!proposedPath.isEmpty()) {
        dialog.selectFile(proposedPath);
    }
    // The filter list shows only its name, as the Windows dialogs did.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QString::fromStdString(nameFilterFor(filter)));
    return runFileDialog(dialog, save, filter).value_or(QString());
}

std::optional<QString> QtDesktopServices::runFileDialog(QFileDialog& dialog, bool save,
                                                        const FileFilter& filter) {
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A name typed without an extension gets the filter's, so that the file shows up the next
    // time the same filter lists the folder. Qt asks before replacing the file so named.
    dialog.setDefaultSuffix(QString::fromStdString(defaultSuffixFor(filter)));
    beforeModal();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

} // namespace tavo
