#include "pointeditor/shell/qt_platform.h"

#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtGui/QCursor>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtGui/QTextDocument>
#include <QtWidgets/QDialog>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStyle>
#include <QtWidgets/QTextBrowser>
#include <QtWidgets/QVBoxLayout>
#include <algorithm>

#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/editor_window.h"

namespace tavo {

namespace {

// The editor's look: Qt's own file dialog with the folder of the last file per filter, boxes
// wide enough for their caption, and the frame that shows the command's menu entry highlighted
// while its box or dialog is up.
DesktopStyle editorStyle(EditorWindow* window) {
    DesktopStyle style;
    style.ownFileDialog = true;
    style.wholeCaption = true;
    style.beforeModal = [window] {
        if (window != nullptr && window->isVisible()) {
            window->redrawNow();
        }
    };
    return style;
}

} // namespace

QtPlatform::QtPlatform(EditorWindow* window)
    : window_(window), desktop_(window, editorStyle(window)) {}

BoxAnswer QtPlatform::messageBox(std::string_view text, std::string_view caption,
                                 BoxButtons buttons, BoxIcon icon, bool ownerless) {
    return desktop_.messageBox(text, caption, buttons, icon, ownerless);
}

std::optional<std::string> QtPlatform::openFileDialog(std::string_view title,
                                                      const FileFilter& filter) {
    return desktop_.openFileDialog(title, filter);
}

std::optional<std::string> QtPlatform::saveFileDialog(std::string_view title,
                                                      const FileFilter& filter,
                                                      std::string_view proposedPath) {
    return desktop_.saveFileDialog(title, filter, proposedPath);
}

DeferrableAnswer QtPlatform::askDeferrable(std::string_view text, std::string_view caption,
                                           const DeferrableLabels& labels) {
    const auto qt = [](std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    };
    QMessageBox box(QMessageBox::Question, qt(caption), qt(text), QMessageBox::NoButton, window_);
    QPushButton* yes = box.addButton(qt(labels.yes), QMessageBox::YesRole);
    QPushButton* discard = box.addButton(qt(labels.discard), QMessageBox::DestructiveRole);
    // Escape and the title bar's close button press this one: a box without an escape button
    // could not be closed at all.
    QPushButton* later = box.addButton(qt(labels.later), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(later);
    fitCaption(box);
    if (window_ != nullptr && window_->isVisible()) {
        window_->redrawNow();
    }
    box.exec();
    if (box.clickedButton() == yes) {
        return DeferrableAnswer::Yes;
    }
    return box.clickedButton() == discard ? DeferrableAnswer::Discard : DeferrableAnswer::Later;
}

std::optional<int> QtPlatform::askInteger(std::string_view text, std::string_view caption,
                                          int value, int minimum, int maximum) {
    const auto qt = [](std::string_view utf8) {
        return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    };
    if (window_ != nullptr && window_->isVisible()) {
        window_->redrawNow();
    }
    bool accepted = false;
    const int chosen =
        QInputDialog::getInt(window_, qt(caption), qt(text), value, minimum, maximum, 1, &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    return chosen;
}

void QtPlatform::showHelp(std::string_view richText, std::string_view caption) {
    QDialog dialog(window_);
    dialog.setWindowTitle(
        QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    auto* text = new QTextBrowser(&dialog);
    text->setLineWrapMode(QTextEdit::NoWrap);
    text->setHtml(QString::fromUtf8(richText.data(), static_cast<qsizetype>(richText.size())));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    // As wide as the table and as tall as it, up to most of the screen; the rest scrolls.
    const QSize screen = dialog.screen()->availableGeometry().size();
    const QSizeF table(text->document()->idealWidth(), text->document()->size().height());
    const int room =
        4 * text->frameWidth() + text->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    text->setMinimumWidth(
        std::min(static_cast<int>(table.width()) + room, screen.width() * 9 / 10));
    dialog.resize(dialog.sizeHint().width(),
                  std::min(static_cast<int>(table.height()) + 3 * buttons->sizeHint().height(),
                           screen.height() * 4 / 5));
    if (window_ != nullptr && window_->isVisible()) {
        window_->redrawNow();
    }
    dialog.exec();
}

bool QtPlatform::shiftDown() {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool QtPlatform::controlDown() {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
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

void QtPlatform::setClipboard(std::string_view text, std::span<const uint8_t> points) {
    auto* data = new QMimeData; // the clipboard takes it
    data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    data->setData(QString::fromLatin1(PointsMimeType),
                  QByteArray(reinterpret_cast<const char*>(points.data()),
                             static_cast<qsizetype>(points.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

ClipboardContents QtPlatform::clipboard() {
    ClipboardContents contents;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return contents;
    }
    if (data->hasFormat(QString::fromLatin1(PointsMimeType))) {
        const QByteArray bytes = data->data(QString::fromLatin1(PointsMimeType));
        contents.points.emplace(bytes.begin(), bytes.end());
    }
    if (data->hasText()) {
        contents.text = data->text().toStdString();
    }
    return contents;
}

} // namespace tavo
