// The real pointeditor under Xvfb, driven with real X input through xdotool.

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtCore/QThread>
#include <QtGui/QImage>
#include <bit>
#include <cstring>

namespace {

constexpr int kWaitMs = 30000;

class LiveEditor : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Xvfb chooses a free display itself and tells its number, so that tests running side
        // by side never share one.
        server_ = new QProcess;
        server_->start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten",
                                "tcp", "-noreset"});
        QByteArray number;
        while (!number.contains('\n') && server_->waitForReadyRead(10000)) {
            number += server_->readAllStandardOutput();
        }
        if (!number.trimmed().isEmpty()) {
            display_ = ":" + QString::fromLatin1(number.trimmed());
        }
    }

    static void TearDownTestSuite() {
        if (server_ != nullptr) {
            server_->terminate();
            if (!server_->waitForFinished(5000)) {
                server_->kill();
                server_->waitForFinished();
            }
            delete server_;
            server_ = nullptr;
        }
    }

    void SetUp() override {
        ASSERT_FALSE(display_.isEmpty()) << "no Xvfb";
        ASSERT_TRUE(work_.isValid());
    }

    void TearDown() override {
        if (editor_.state() != QProcess::NotRunning) {
            editor_.terminate();
            if (!editor_.waitForFinished(5000)) {
                editor_.kill();
                editor_.waitForFinished();
            }
        }
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display_);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("LANG", "C.UTF-8");
        env.remove("WAYLAND_DISPLAY");
        env.insert("HOME", work_.path()); // the file dialog remembers nothing between runs
        return env;
    }

    // Runs xdotool with the arguments; its standard output.
    QString xdotool(const QStringList& arguments) {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start("xdotool", arguments);
        EXPECT_TRUE(tool.waitForFinished(kWaitMs)) << arguments.join(' ').toStdString();
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

    // The id of the first window with this exact title, waiting for it to appear.
    QString waitForWindow(const QString& title) {
        for (int i = 0; i < 300; ++i) {
            const QString found = xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"});
            if (!found.isEmpty()) {
                return found.split('\n').front();
            }
            QThread::msleep(50);
        }
        return {};
    }

    void startEditor(QProcessEnvironment env = {}) {
        editor_.setProcessEnvironment(env.isEmpty() ? environment() : env);
        editor_.setWorkingDirectory(work_.path());
        editor_.start(POINTEDITOR_BINARY, {"e"});
        ASSERT_TRUE(editor_.waitForStarted(kWaitMs));
        if (!env.isEmpty()) {
            return;
        }
        window_ = waitForWindow("POINT EDITOR");
        ASSERT_FALSE(window_.isEmpty()) << editor_.readAllStandardError().toStdString();
        QThread::msleep(300);
    }

    // Moves the real pointer to a client position of the editor and clicks there.
    void clickAt(int x, int y) {
        xdotool({"mousemove", "--window", window_, QString::number(x), QString::number(y)});
        QThread::msleep(100);
        xdotool({"click", "1"});
        QThread::msleep(200);
    }

    // Answers the file dialog titled `title` by typing a path and Return.
    void typeIntoDialog(const QString& title, const QString& path) {
        const QString dialog = waitForWindow(title);
        ASSERT_FALSE(dialog.isEmpty()) << "no dialog " << title.toStdString();
        QThread::msleep(500);
        xdotool({"windowfocus", "--sync", dialog});
        xdotool({"key", "ctrl+a"});
        xdotool({"type", "--delay", "20", path});
        xdotool({"key", "Return"});
    }

    QImage grab(int x, int y, int w, int h) {
        const QString png = work_.filePath("grab.png");
        QFile::remove(png);
        QProcess grabber;
        grabber.setProcessEnvironment(environment());
        grabber.start(X_GRAB_BINARY, {QString::number(x), QString::number(y), QString::number(w),
                                      QString::number(h), png});
        EXPECT_TRUE(grabber.waitForFinished(kWaitMs));
        return QImage(png);
    }

    static inline QProcess* server_ = nullptr;
    static inline QString display_;
    QTemporaryDir work_;
    QProcess editor_;
    QString window_;
};

float floatAt(const QByteArray& bytes, int offset) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) {
        bits = bits << 8 | static_cast<uint8_t>(bytes[offset + i]);
    }
    return std::bit_cast<float>(bits);
}

TEST_F(LiveEditor, APointPlacedWithTheMouseIsSavedAndShowsAgainAfterLoading) {
    startEditor();
    // The window's client area lies at the screen's origin, 800 x 600.
    const QString geometry = xdotool({"getwindowgeometry", window_});
    EXPECT_TRUE(geometry.contains("800x600")) << geometry.toStdString();

    // Parameters: kind 3 (A three times), id 2 (F twice); the keys go to the focused window.
    xdotool({"windowfocus", "--sync", window_});
    clickAt(700, 560); // nothing there: just focus
    xdotool({"key", "--delay", "50", "a", "a", "a", "f", "f"});
    QThread::msleep(200);

    clickAt(608, 48);  // NEW POINT
    clickAt(200, 115); // the top pane, 50 pixels right of and above its centre: x 25, z 25
    clickAt(608, 228); // SAVE POINT
    const QString saved = work_.filePath("placed"); // no extension: kept as typed
    typeIntoDialog("save", saved);
    for (int i = 0; i < 200 && !QFileInfo::exists(saved); ++i) {
        QThread::msleep(50);
    }
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "nothing saved";
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 22);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(floatAt(bytes, 2), 25.0f);  // x
    EXPECT_EQ(floatAt(bytes, 6), 0.0f);   // y: the top pane's height
    EXPECT_EQ(floatAt(bytes, 10), 25.0f); // z
    EXPECT_EQ(floatAt(bytes, 14), 0.0f);  // heading
    EXPECT_EQ(bytes[18], 3);
    EXPECT_EQ(bytes[19], 0);
    EXPECT_EQ(bytes[20], 0);
    EXPECT_EQ(bytes[21], 2);

    editor_.terminate();
    editor_.waitForFinished(5000);

    // A second run loads the file back: the point's yellow square is in the top pane.
    startEditor();
    const QImage before = grab(190, 105, 21, 21);
    clickAt(608, 258); // LOAD POINT
    typeIntoDialog("load", saved);
    const QRgb yellow = qRgb(255, 255, 0);
    QImage after;
    for (int i = 0; i < 50; ++i) {
        QThread::msleep(200);
        clickAt(700, 560); // one more event, one more frame, once the dialog has gone
        after = grab(190, 105, 21, 21);
        if (!after.isNull() && after.pixel(10, 10) == yellow) {
            break;
        }
    }
    ASSERT_FALSE(after.isNull());
    EXPECT_NE(before.pixel(10, 10), yellow);
    EXPECT_EQ(after.pixel(10, 10), yellow); // the point at (200, 115)
    EXPECT_EQ(after.pixel(8, 8), yellow);
    EXPECT_EQ(after.pixel(12, 12), yellow);
}

TEST_F(LiveEditor, TurningTheCameraPutsThePointerBackOnThe3DPane) {
    startEditor();
    clickAt(608, 168); // VIEW
    xdotool({"mousemove", "--window", window_, "440", "165"});
    QThread::msleep(300);
    // Over the 3D pane the status line shows the point 40 units ahead of the camera.
    const QImage before = grab(400, 5, 200, 16);
    xdotool({"mousedown", "1"});
    QThread::msleep(200);
    xdotool({"mousemove", "--window", window_, "470", "150"});
    QThread::msleep(500);
    xdotool({"mouseup", "1"});
    QThread::msleep(300);
    // The window's client area starts at the screen's origin.
    QString location;
    for (int i = 0; i < 50 && !location.startsWith("x:440 y:165 "); ++i) {
        QThread::msleep(100);
        location = xdotool({"getmouselocation"});
    }
    EXPECT_TRUE(location.startsWith("x:440 y:165 ")) << location.toStdString();
    EXPECT_NE(grab(400, 5, 200, 16), before); // the camera turned
}

TEST_F(LiveEditor, WithoutAGraphicsDeviceTheUserIsToldAndTheProgramEnds) {
    QProcessEnvironment env = environment();
    env.insert("__EGL_VENDOR_LIBRARY_FILENAMES", work_.filePath("none.json")); // no EGL driver
    startEditor(env);
    const QString box = waitForWindow("ERROR");
    ASSERT_FALSE(box.isEmpty()) << "no error box";
    EXPECT_EQ(editor_.state(), QProcess::Running); // it waits for the user
    xdotool({"windowfocus", "--sync", box});
    xdotool({"key", "Return"});
    ASSERT_TRUE(editor_.waitForFinished(kWaitMs));
    EXPECT_EQ(editor_.exitCode(), 1);
}

} // namespace
