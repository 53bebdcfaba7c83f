// The mission editor: one dialog that loads, edits and saves a mission information file.
// Closing the window ends the program; nothing is saved on the way out.

#include <QApplication>

#include "common/locale/locale_rule.h"

#include "missioneditor/mission_dialog.h"
#include "missioneditor/qt_dialog_services.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tavo::mission::QtDialogServices services;
    tavo::mission::MissionDialog dialog(services,
                                        tavo::localeIsJapanese(tavo::processEnvironment()));
    dialog.show();
    return app.exec();
}
