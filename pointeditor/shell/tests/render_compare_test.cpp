#include <gtest/gtest.h>

#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QFileDialog>
#include <cstdlib>
#include <memory>

#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/qt_platform.h"
#include "pointeditor/shell/tests/modal_script.h"
#include "pointeditor/shell/tests/qt_app.h"

namespace tavo {
namespace {

QString samplePath(const char* name) {
    const char* root = std::getenv("TAVO_SOURCE_DIR");
    return QString::fromLocal8Bit(root != nullptr ? root : ".") + "/samples/" + name;
}

void send(QWidget& window, QEvent&& event) {
    QCoreApplication::sendEvent(&window, &event);
}

void moveTo(QWidget& window, QPoint at) {
    send(window, QMouseEvent(QEvent::MouseMove, QPointF(at), QPointF(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier));
}

// A click on a menu command whose file dialog is answered with `path`.
void chooseFile(QWidget& window, QPoint command, const QString& path) {
    moveTo(window, command);
    testing::whenModalOpens([path](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    send(window, QMouseEvent(QEvent::MouseButtonPress, QPointF(command), QPointF(command),
                             Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    send(window, QMouseEvent(QEvent::MouseButtonRelease, QPointF(command), QPointF(command),
                             Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

// The headless renderer and the live window, given the same files, show the same frame.
TEST(RenderCompare, TheRendererWritesTheFrameTheLiveWindowShowsForTheSample) {
    testing::QtAppUser app;
    auto state = std::make_unique<EditorState>();
    auto canvas = std::make_unique<Canvas>();
    DeviceSession session(*canvas);
    EditorWindow window(*state, *canvas, editorHandlers());
    QtPlatform platform(&window, session);
    state->window = &platform;
    state->english = 1;
    session.initDevice(*state);
    ASSERT_EQ(state->running, 1);
    window.show();

    chooseFile(window, {608, 198}, samplePath("sample.bd1")); // LOAD BLOCK
    chooseFile(window, {608, 258}, samplePath("sample.pd1")); // LOAD POINT
    moveTo(window, {295, 10});                                // over no pane
    ASSERT_GT(countUsedPoints(*state), 10);
    const QImage live = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    window.hide();
    session.releaseDevice(*state);

    QTemporaryDir out;
    const QString png = out.filePath("frame.png");
    QProcess render;
    render.start(TAVO_RENDER_BINARY, {"--lang", "e", "--block", samplePath("sample.bd1"),
                                      "--points", samplePath("sample.pd1"), "-o", png});
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    const QImage written = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(written.size(), QSize(800, 600));

    int differing = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            differing += live.pixel(x, y) != written.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    // And the frame is not trivially empty: the map's walls are drawn in the top pane.
    int lit = 0;
    for (int x = 10; x < 290; ++x) {
        lit += written.pixel(x, 165) == qRgb(255, 255, 255) ? 1 : 0;
    }
    EXPECT_GT(lit, 0);
}

} // namespace
} // namespace tavo

namespace tavo {
namespace {

struct RenderRun {
    int exitCode;
    QString errors;
};

RenderRun render(const QStringList& arguments) {
    QProcess process;
    process.start(TAVO_RENDER_BINARY, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QStringList ownLines(const QString& errors) {
    QStringList lines;
    for (const QString& line : errors.split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith("pointeditor-render:")) {
            lines << line;
        }
    }
    return lines;
}

TEST(RenderProgram, UnreadableOrHostileFilesEndWithOneLineNeverACrash) {
    QTemporaryDir dir;
    const QString png = dir.filePath("out.png");

    RenderRun missing = render({"--block", dir.filePath("none.bd1"), "-o", png});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(ownLines(missing.errors).size(), 1) << missing.errors.toStdString();
    EXPECT_FALSE(QFile::exists(png));

    RenderRun folder = render({"--points", dir.path(), "-o", png});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(ownLines(folder.errors).size(), 1);

    RenderRun badOption = render({"--zoom", "99", "-o", png});
    EXPECT_EQ(badOption.exitCode, 1);
    EXPECT_EQ(ownLines(badOption.errors).size(), 1);

    // Garbage that claims more records than it holds: read as far as it goes, drawn, exit 0.
    QFile garbage(dir.filePath("garbage.bd1"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    QByteArray bytes(310, '\x7f');
    bytes += QByteArray("\xff\x7f", 2) + QByteArray(700, 'A');
    garbage.write(bytes);
    garbage.close();
    QFile points(dir.filePath("garbage.pd1"));
    ASSERT_TRUE(points.open(QIODevice::WriteOnly));
    points.write(QByteArray("\x00\x80", 2) + QByteArray(45, '\x80'));
    points.close();
    RenderRun hostile =
        render({"--block", garbage.fileName(), "--points", points.fileName(), "-o", png});
    EXPECT_EQ(hostile.exitCode, 0) << hostile.errors.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(800, 600));

    RenderRun unwritable = render({"-o", dir.filePath("no/such/dir/out.png")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(ownLines(unwritable.errors).size(), 1);
}

} // namespace
} // namespace tavo
