// The mission editor: one dialog that loads, edits and saves a mission information file.
// Closing the window ends the program; nothing is saved on the way out.

#include <QApplication>

#include "common/about/about_options.h"
#include "missioneditor/mission_dialog.h"
#include "missioneditor/qt_dialog_services.h"
#include "missioneditor/start_language.h"

namespace {

constexpr std::string_view usage =
    "Usage: missioneditor\n"
    "Edits the information file (.mif) of a TAVO mission in one dialog.\n"
    "  --help     show this text and end\n"
    "  --version  show the version and end\n";

} // namespace

int main(int argc, char* argv[]) {
    if (auto status = tavo::answerAboutOptions(argc, argv, "missioneditor", usage)) {
        return *status;
    }
    QApplication app(argc, argv);
    tavo::mission::QtDialogServices services;
    tavo::mission::MissionDialog dialog(services, tavo::mission::startsInJapanese());
    dialog.show();
    return app.exec();
}
