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

SaveAnswer QtDialogServices::askToSave(QWidget* owner, const QString& text,
                                       const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

void QtDialogServices::errorBox(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    box.exec();
}

} // namespace tavo::mission
