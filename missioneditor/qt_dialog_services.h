#pragma once
// DialogServices over Qt's file dialog and message box.

#include "missioneditor/dialog_services.h"

namespace tavo::mission {

class QtDialogServices : public DialogServices {
public:
    std::optional<QString> chooseFile(QWidget* owner, const FileRequest& request) override;
    void errorBox(const QString& text, const QString& caption) override;
    SaveAnswer askToSave(QWidget* owner, const QString& text, const QString& caption) override;
};

} // namespace tavo::mission
