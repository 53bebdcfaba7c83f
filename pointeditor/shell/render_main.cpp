// pointeditor-render: the frame the point editor would show for a map and a point file, written
// as an 800 x 600 PNG without any display. For authors (pictures of a mission) and for tests.

#include <QtCore/QBuffer>
#include <QtCore/QtGlobal>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <cstdio>
#include <string>
#include <vector>

#include "common/about/about_options.h"
#include "common/files/file_write.h"
#include "common/files/printable.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/point_check.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_load.h"
#include "pointeditor/display/draw_frame.h"
#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/language.h"
#include "pointeditor/shell/render_options.h"
#include "pointeditor/shell/text_overlay.h"

namespace {

tavo::EditorState state;
tavo::Canvas canvas;

// Qt warns on every start in an environment without XDG_RUNTIME_DIR (a container, a CI job, a
// cron job) and then uses a directory of its own, which is all a program that opens no window
// needs. Only that one message is dropped; every other goes where it went before.
QtMessageHandler qtMessages = nullptr;

void dropRuntimeDirWarning(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
        return;
    }
    qtMessages(type, context, message);
}

int failWith(const std::string& message) {
    std::fprintf(stderr, "pointeditor-render: %s\n", message.c_str());
    return 1;
}

// What reading the files found, in the order they were read: the map's textures, then the
// points; or the line that says which file could not be read.
tavo::Result<std::vector<std::string>, std::string> loadFiles(tavo::EditorState& editor,
                                                              const tavo::RenderOptions& options) {
    std::vector<std::string> findings;
    if (!options.blockFile.empty()) {
        const auto textures = tavo::loadBlockFile(editor, options.blockFile);
        if (!textures) {
            return "cannot read the block file " + tavo::printable(options.blockFile);
        }
        for (const tavo::TextureFinding& finding : *textures) {
            findings.push_back(tavo::textureFindingLine(finding, editor.english != 0));
        }
    }
    if (!options.pointFile.empty()) {
        const auto points = tavo::loadPointFile(editor, options.pointFile);
        if (!points) {
            return "cannot read the point file " + tavo::printable(options.pointFile);
        }
        for (const tavo::Finding& finding : points->findings) {
            findings.push_back(tavo::describeFinding(finding, editor.english != 0));
        }
    }
    return findings;
}

// The frame as a PNG, put in place atomically: a failure (a full disk) leaves an old picture
// whole. The output is never one of the inputs.
int writeFrame(const tavo::RenderOptions& options) {
    for (const std::string& input : {options.blockFile, options.pointFile}) {
        if (!input.empty() && tavo::isSameFile(options.output, input)) {
            return failWith("cannot write " + tavo::printable(options.output) +
                            ": it is a file this command reads");
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!tavo::canvasImage(canvas).save(&buffer, "PNG")) {
        return failWith("cannot encode the frame as PNG");
    }
    const tavo::FileResult<void> written =
        tavo::writeFileAtomically(options.output,
                                  std::span(reinterpret_cast<const uint8_t*>(png.constData()),
                                            static_cast<std::size_t>(png.size())),
                                  tavo::ImageFileLimit);
    return written ? 0 : failWith(written.error().text);
}

// What did not load or was not whole, one finding a line on standard error; the exit status
// they give.
int reportFindings(const std::vector<std::string>& lines, bool strict) {
    for (const std::string& line : lines) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    return strict && !lines.empty() ? 2 : 0;
}

void applyView(tavo::EditorState& editor, const tavo::RenderOptions& options) {
    if (options.zoom) {
        tavo::setZoom(editor, *options.zoom);
    }
    if (options.pan) {
        editor.panX = (*options.pan)[0];
        editor.panY = (*options.pan)[1];
        editor.panZ = (*options.pan)[2];
    }
    if (options.camera) {
        editor.cameraX = (*options.camera)[0];
        editor.cameraY = (*options.camera)[1];
        editor.cameraZ = (*options.camera)[2];
        editor.cameraYaw = (*options.camera)[3];
        editor.cameraPitch = (*options.camera)[4];
    }
    if (options.params) {
        for (int i = 0; i < 4; ++i) {
            editor.currentParams[static_cast<std::size_t>(i)] =
                static_cast<int8_t>((*options.params)[static_cast<std::size_t>(i)]);
        }
    }
    for (int slot = 0; slot < tavo::MaxPoints; ++slot) {
        if (editor.pointTable.pointUsed[slot] == tavo::SlotFree) {
            continue;
        }
        for (int id : options.select) {
            if (editor.pointTable.points[slot].p4 == static_cast<int8_t>(id)) {
                editor.pointTable.pointUsed[slot] = tavo::SlotSelected;
            }
        }
    }
}

// Loads the files, draws their frame and writes it; the exit status.
int renderFiles(tavo::EditorState& editor, tavo::DeviceSession& session,
                const tavo::RenderOptions& options) {
    const auto findings = loadFiles(editor, options);
    if (!findings) {
        return failWith(findings.error());
    }
    applyView(editor, options);
    tavo::drawFrame(editor, session, session.frameTargets());
    const int status = writeFrame(options);
    return status != 0 ? status : reportFindings(*findings, options.strict);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = tavo::parseRenderOptions(arguments);
    if (!parsed) {
        return failWith(parsed.error());
    }
    const tavo::RenderOptions& options = *parsed;
    if (options.help) {
        std::fputs(tavo::renderUsage().data(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("pointeditor-render %.*s\n", static_cast<int>(tavo::version().size()),
                    tavo::version().data());
        return 0;
    }

    // Text needs a QGuiApplication, never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtMessages = qInstallMessageHandler(dropRuntimeDirWarning);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    state.english = options.english.value_or(tavo::chooseEnglish("", tavo::processEnvironment()));
    tavo::DeviceSession session(canvas);
    session.initDevice(state);
    if (state.running == 0) {
        session.releaseDevice(state);
        return failWith("cannot start the graphics device (OpenGL 3.3 through EGL)");
    }

    const int status = renderFiles(state, session, options);
    session.releaseDevice(state);
    return status;
}
