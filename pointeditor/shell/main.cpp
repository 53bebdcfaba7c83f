// pointeditor [j|e] [--inspector] [MAP.bd1] [POINTS.pd1] [MISSION.mif]: the point editor's entry.
// One state record and one canvas for the whole run; the window, the font and the device are made
// in the order the editor has always used: window, tables, font, device, then the window shows
// and the events run until it is closed.

#include <QtCore/QByteArray>
#include <QtWidgets/QApplication>

#include <memory>
#include <string>
#include <vector>

#include "common/about/about_options.h"
#include "common/locale/qt_translations.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/display/draw_frame.h"
#include "pointeditor/edit/edit_session.h"
#include "pointeditor/inspector/points_window.h"
#include "pointeditor/shell/command_line.h"
#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/end_guard.h"
#include "pointeditor/shell/language.h"
#include "pointeditor/shell/point_session.h"
#include "pointeditor/shell/qt_platform.h"
#include "pointeditor/shell/qt_platform_choice.h"
#include "pointeditor/view/device/canvas.h"

namespace {

tavo::EditorState state;
tavo::Canvas canvas;

constexpr std::string_view Usage =
    "Usage: pointeditor [j|e] [--inspector] [MAP.bd1] [POINTS.pd1] [MISSION.mif]\n"
    "Places the humans, weapons, paths and events of a TAVO mission on its map.\n"
    "  j, e       names and messages in Japanese or English (default: from the locale)\n"
    "  MAP.bd1, POINTS.pd1  a map and points to open at start, in any order\n"
    "  MISSION.mif  the map and points a mission names, found from the game's folder\n"
    "             (the nearest folder above the mission from which its map is found)\n"
    "  --inspector  open the point inspector (F6) at start\n"
    "  --help     show this text and end\n"
    "  --version  show the version and end\n";

} // namespace

int main(int argc, char** argv) {
    if (auto status = tavo::answerAboutOptions(argc, argv, "pointeditor", Usage)) {
        return *status;
    }
    const tavo::EnvironmentLookup environment = tavo::processEnvironment();
    if (auto platform = tavo::preferredQtPlatform(environment)) {
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(*platform));
    }
    QApplication app(argc, argv); // takes Qt's own options out of argv
    QGuiApplication::setDesktopFileName(QStringLiteral("pointeditor"));
    QCoreApplication::setOrganizationName(QStringLiteral("tavo"));
    QCoreApplication::setApplicationName(QStringLiteral("pointeditor"));
    const tavo::CommandLine line =
        tavo::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    state.english = tavo::chooseEnglish(line.language, environment);
    tavo::QtTranslations qtTexts; // the buttons of Qt's boxes and dialogs in the same language
    qtTexts.use(state.english == 0);

    tavo::DeviceSession session(canvas);
    tavo::EditSession edits(state, tavo::editorHandlers([&session](const tavo::EditorState& s) {
                                tavo::drawFrame(s, session, session.frameTargets());
                            }));
    tavo::EditorWindow window(edits, canvas);
    tavo::QtPlatform platform(&window);
    state.platform = &platform;

    tavo::PointSession points(edits, window, tavo::recoveryFolder(environment));
    window.setPointSession(&points);
    const tavo::EndGuard guard([&points] { points.writeRecoveryNow(); });

    // Made on the first F6 and gone before the session whose after-message call it chains onto.
    std::unique_ptr<tavo::InspectorWindow> inspector;
    const auto openInspector = [&] {
        if (inspector == nullptr) {
            inspector = std::make_unique<tavo::InspectorWindow>(
                edits, [&window] { window.redrawNow(); }, &window);
        }
        inspector->open();
    };
    points.setInspectorOpener(openInspector);

    session.initDevice(state);
    window.show();
    int status = 0;
    if (state.running != 0) {
        points.start(line);
        if (line.inspector) {
            openInspector();
        }
        QApplication::exec();
        points.finish(); // only a normal end comes here: the copy has done its job
        inspector.reset();
    } else {
        // The failure has been told; the window still shows once before the program ends.
        QApplication::processEvents();
        status = 1;
    }
    session.releaseDevice(state);
    state.platform = nullptr;
    return status;
}
