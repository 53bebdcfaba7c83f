#include "pointeditor/shell/qt_platform.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSettings>
#include <QtGui/QCursor>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QMessageBox>

#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/editor_window.h"

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

QtPlatform::QtPlatform(EditorWindow* window, DeviceSession& output)
    : window_(window), output_(output) {}

void QtPlatform::showFrameBeforeModal() {
    // The frame that shows the command's menu entry highlighted while its box or dialog is up.
    if (window_ != nullptr && window_->isVisible()) {
        window_->redrawNow();
    }
}

BoxAnswer QtPlatform::messageBox(std::string_view text, std::string_view caption,
                                 BoxButtons buttons, BoxIcon icon, bool ownerless) {
    QWidget* owner = ownerless ? nullptr : window_;
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
    default:
        box.setDefaultButton(QMessageBox::Ok);
        break;
    }
    fitCaption(box);
    if (owner != nullptr) {
        showFrameBeforeModal();
    }
    const int answer = box.exec();
    if (buttons == BoxButtons::Ok) {
        return BoxAnswer::Ok;
    }
    return boxAnswer(answer);
}

std::optional<std::string> QtPlatform::fileDialog(bool save, std::string_view title,
                                                  const FileFilter& filter,
                                                  std::string_view proposedPath) {
    QSettings settings;
    QFileDialog dialog(window_, fromUtf8(title));
    const QString folder = settings.value(folderKey(filter)).toString();
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    if (!proposedPath.empty()) {
        dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(std::string(proposedPath))));
    }
    // Qt's own dialog everywhere, so that it looks and answers the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QString::fromStdString(nameFilterFor(filter)));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString()); // a name typed without an extension stays as typed
    showFrameBeforeModal();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().front();
    settings.setValue(folderKey(filter), QFileInfo(chosen).absolutePath());
    return QFile::encodeName(chosen).toStdString();
}

std::optional<std::string> QtPlatform::openFileDialog(std::string_view title,
                                                      const FileFilter& filter) {
    return fileDialog(false, title, filter, {});
}

std::optional<std::string> QtPlatform::saveFileDialog(std::string_view title,
                                                      const FileFilter& filter,
                                                      std::string_view proposedPath) {
    return fileDialog(true, title, filter, proposedPath);
}

bool QtPlatform::shiftDown() {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

void QtPlatform::warpPointer(int clientX, int clientY) {
    if (window_ == nullptr) {
        return;
    }
    // A pointer already there is left alone: a warp makes a move of its own, and a move onto
    // the same spot would only ask for the same warp again.
    const QPoint target = window_->mapToGlobal(QPoint(clientX, clientY));
    if (QCursor::pos(window_->screen()) != target) {
        QCursor::setPos(window_->screen(), target);
    }
}

void QtPlatform::drawText(int x, int y, std::string_view text, uint32_t textColour,
                          uint32_t backColour) {
    output_.drawText(x, y, text, textColour, backColour);
}

} // namespace tavo
