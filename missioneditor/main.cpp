// missioneditor [FILE.mif]: one dialog that loads, edits and saves a mission information file.
// Closing the window ends the program, after asking about fields edited since the last load or
// save.

#include <QApplication>
#include <string_view>

#include "common/about/about_options.h"
#include "common/desktop/qt_desktop_services.h"
#include "common/locale/locale_rule.h"
#include "missioneditor/mission_dialog.h"

namespace {

constexpr std::string_view Usage =
    "Usage: missioneditor [FILE.mif]\n"
    "Edits the information file (.mif) of a TAVO mission in one dialog.\n"
    "  FILE.mif   a mission file to open at start\n"
    "  --help     show this text and end\n"
    "  --version  show the version and end\n";

} // namespace

int main(int argc, char* argv[]) {
    if (auto status = tavo::answerAboutOptions(argc, argv, "missioneditor", Usage)) {
        return *status;
    }
    QApplication app(argc, argv); // takes Qt's own options out of argv
    // The desktop's own file dialogs and plain boxes, owned by the dialog once it exists, each
    // box wide enough for its whole caption.
    tavo::DesktopStyle style;
    style.wholeCaption = true;
    tavo::QtDesktopServices services(nullptr, style);
    tavo::mission::MissionDialog dialog(services,
                                        tavo::localeIsJapanese(tavo::processEnvironment()));
    services.setOwner(&dialog);
    dialog.show();
    // The name as the bytes it was given: one that is not UTF-8 names its own file, not the one
    // its decoded text would name.
    const int first = argc > 1 && std::string_view(argv[1]) == "--" ? 2 : 1;
    if (first < argc) {
        dialog.openFile(argv[first]);
    }
    return app.exec();
}
