// The mission editor: one dialog that loads, edits and saves a mission information file.
// Closing the window ends the program; nothing is saved on the way out.

#include <QApplication>

#include "missioneditor/mission_dialog.h"
#include "missioneditor/qt_dialog_services.h"
#include "missioneditor/start_language.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tavo::mission::QtDialogServices services;
    tavo::mission::MissionDialog dialog(services, tavo::mission::startsInJapanese());
    dialog.show();
    return app.exec();
}
