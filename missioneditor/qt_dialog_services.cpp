#include "missioneditor/qt_dialog_services.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tavo::mission {

std::optional<QString> QtDialogServices::chooseFile(QWidget* owner, const FileRequest& request) {
    const QString filter = request.filterName + " (" + request.filterPattern + ")";
    // The filter list shows only its name, as the Windows dialogs did; Qt's save dialog asks
    // before replacing a file unless told not to.
    const QFileDialog::Options options = QFileDialog::HideNameFilterDetails;
    const QString path = request.save
                             ? QFileDialog::getSaveFileName(owner, request.title, QString(), filter,
                                                            nullptr, options)
                             : QFileDialog::getOpenFileName(owner, request.title, QString(), filter,
                                                            nullptr, options);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

void QtDialogServices::errorBox(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    box.exec();
}

} // namespace tavo::mission
