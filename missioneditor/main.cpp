// missioneditor [FILE.mif]: one dialog that loads, edits and saves a mission information file.
// Closing the window ends the program, after asking about fields edited since the last load or
// save.

#include <QApplication>

#include "missioneditor/mission_dialog.h"
#include "missioneditor/qt_dialog_services.h"
#include "missioneditor/start_language.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tavo::mission::QtDialogServices services;
    tavo::mission::MissionDialog dialog(services, tavo::mission::startsInJapanese());
    dialog.show();
    if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1) {
        dialog.openFile(arguments.at(1));
    }
    return app.exec();
}
