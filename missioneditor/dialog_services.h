#pragma once
// What the dialog asks of the desktop: choosing a file, showing an error box, and asking
// whether to save edited fields. The program
// uses Qt's dialogs (QtDialogServices); tests script the answers.

#include <optional>

#include <QString>

class QWidget;

namespace tavo::mission {

struct FileRequest {
    QString title;
    QString filterName;    // what the filter list shows
    QString filterPattern; // which names it lists
    bool save = false;     // a save dialog asks before replacing an existing file
};

enum class SaveAnswer { Save, Discard, Cancel };

class DialogServices {
public:
    virtual ~DialogServices() = default;

    // The chosen path, or nullopt when the user cancels. No extension is added to a typed name.
    virtual std::optional<QString> chooseFile(QWidget* owner, const FileRequest& request) = 0;

    // A box with the error icon and an OK button, owned by no window.
    virtual void errorBox(const QString& text, const QString& caption) = 0;

    // A question owned by `owner` with Save (the default), Discard and Cancel; closing it or
    // Escape answers Cancel.
    virtual SaveAnswer askToSave(QWidget* owner, const QString& text, const QString& caption) = 0;
};

} // namespace tavo::mission
