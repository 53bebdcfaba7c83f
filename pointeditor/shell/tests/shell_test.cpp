// The point editor program: the language and key tables, the real window driven with synthetic
// Qt events, pointeditor-render against the live window, and hostile textures through
// pointeditor-render under a time and memory limit.

#include <gtest/gtest.h>

#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QFontDatabase>
#include <QtGui/QTextTable>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTextBrowser>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <sys/stat.h>

#include "common/desktop/qt_desktop_services.h"
#include "live_editor.h"
#include "pointeditor/display/draw_frame.h"
#include "pointeditor/edit/document.h"
#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/key_map.h"
#include "pointeditor/shell/language.h"
#include "pointeditor/shell/text_overlay.h"
#include "pointeditor/view/image/image_decoder.h"
#include "pointeditor/view/image/texture_set_decoder.h"
#include "qt_events.h"
#include "samples/sample_mission.h"
#include "tests/support/guarded_run.h"
#include "tests/support/image_writers.h"
#include "tests/support/menu_marks.h"
#include "tests/support/scene_builders.h"
#include "tests/support/scratch_directory.h"

namespace tavo {
namespace {

using testing::environmentOf;
using testing::mouse;
using testing::QtTest;
using testing::send;

TEST(LanguageChoice, FirstLetterOfTheArgumentThenTheLocale) {
    const auto japanese = environmentOf({{"LANG", "ja_JP.UTF-8"}});
    const auto english = environmentOf({{"LANG", "en_GB.UTF-8"}});
    const std::tuple<const char*, int, int> cases[] = {{"e", 1, 1}, {"j", 0, 0}, {"ej", 1, 1},
                                                       {"E", 0, 1}, {"J", 0, 1}, {"x", 0, 1},
                                                       {"", 0, 1},  {" e", 0, 1}};
    for (auto [argument, onJapanese, onEnglish] : cases) {
        SCOPED_TRACE(argument);
        EXPECT_EQ(chooseEnglish(argument, japanese), onJapanese);
        EXPECT_EQ(chooseEnglish(argument, english), onEnglish);
    }
    // The first non-empty of LC_ALL, LC_MESSAGES, LANG decides.
    EXPECT_EQ(chooseEnglish("", environmentOf({{"LC_ALL", ""}, {"LC_MESSAGES", "ja_JP"}})), 0);
    EXPECT_EQ(chooseEnglish("", environmentOf({{"LC_MESSAGES", "de_DE"}, {"LANG", "ja_JP"}})), 1);
}

// (modifiers, Qt key, X key code, expected code): the keypad (K) with Num Lock on gives its
// digits and operators, with Num Lock off the navigation keys; main-row operators are not the
// zoom keys; system keys (F10, Alt) never reach the handler (code 0). Shift+1 arrives as '!' from
// X key code 10, Shift+0 as ')' from 19.
TEST(KeyMap, QtKeysBecomeTheCodesTheCommandsUse) {
    using namespace Qt;
    constexpr KeyboardModifiers N = NoModifier, K = KeypadModifier, S = ShiftModifier;
    constexpr KeyboardModifiers C = ControlModifier, A = AltModifier;
    const std::tuple<KeyboardModifiers, int, unsigned, int> cases[] = {
        {N, Key_A, 0, 0x41},       {N, Key_F12, 0, 0x7B},         {N, Key_Left, 0, 0x25},
        {N, Key_Return, 0, 0x0D},  {N, Key_Insert, 0, 0x2D},      {N, Key_0, 0, 0x30},
        {N, Key_Tab, 0, 0x09},     {S, Key_S, 0, 0x53},           {C, Key_C, 0, 0x43},
        {N, Key_Plus, 0, 0x00},    {N, Key_Minus, 0, 0x00},       {N, Key_F10, 0, 0x00},
        {A, Key_A, 0, 0x00},       {A, Key_F4, 0, 0x00},          {K, Key_Enter, 0, 0x0D},
        {K, Key_0, 0, 0x60},       {K, Key_9, 0, 0x69},           {K, Key_Plus, 0, 0x6B},
        {K, Key_Minus, 0, 0x6D},   {K, Key_Asterisk, 0, 0x6A},    {K, Key_Slash, 0, 0x6F},
        {K, Key_Period, 0, 0x6E},  {K, Key_Left, 0, 0x25},        {K, Key_Right, 0, 0x27},
        {K, Key_Up, 0, 0x26},      {K, Key_Down, 0, 0x28},        {K, Key_Clear, 0, 0x0C},
        {K, Key_Insert, 0, 0x2D},  {K, Key_Delete, 0, 0x2E},      {K, Key_Home, 0, 0x24},
        {K, Key_End, 0, 0x23},     {K, Key_PageUp, 0, 0x21},      {K, Key_PageDown, 0, 0x22},
        {S, Key_Exclam, 10, 0x31}, {S, Key_ParenRight, 19, 0x30}, {S, Key_Exclam, 20, 0x00}};
    for (auto [modifiers, key, scanCode, code] : cases) {
        EXPECT_EQ(virtualKeyFor(key, modifiers, scanCode), code)
            << std::hex << key << " " << modifiers << " " << scanCode;
    }
}

// Handlers that write down what was called, in order: "cursor X,Y", a short name per handler,
// "key CODE", and "frame".
class WindowMessages : public QtTest {
protected:
    EditorHandlers recording() {
        auto note = [this](const char* name) {
            return [this, name](EditorState&) { log += std::string(name) + " "; };
        };
        EditorHandlers h;
        h.updateCursor = [this](EditorState& s) {
            log += "cursor " + std::to_string(s.mouseX) + "," + std::to_string(s.mouseY) + " ";
            s.hoverView = hoverAfterUpdate;
        };
        h.onLeftDrag = note("leftDrag"), h.onRightDrag = note("rightDrag");
        h.onBothDrag = note("bothDrag"), h.recentreCursor = note("recentre");
        h.onLeftButtonDown = note("leftDown"), h.onLeftUp = note("leftUp");
        h.onRightDown = note("rightDown");
        h.onKeyDown = [this](EditorState&, int key) { log += "key " + std::to_string(key) + " "; };
        h.onWheel = [this](EditorState&, int n) { log += "wheel " + std::to_string(n) + " "; };
        h.drawFrame = [this](const EditorState&) { log += "frame ", ++frames; };
        return h;
    }

    std::string log;
    int frames = 0;
    int hoverAfterUpdate = NoPane; // what updateCursor puts into hoverView
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    EditSession edits{*state, recording()};
    EditorWindow window{edits, *canvas};
};

TEST_F(WindowMessages, MouseMovesKeepThePreviousPositionThenUpdateDragRecentreAndDraw) {
    state->menuMode = MenuView;
    hoverAfterUpdate = PerspectivePane;
    state->mouseX = 100, state->mouseY = 120, state->hoverView = TopPane;
    state->cursorX = 1.5f, state->cursorY = -2.0f, state->cursorZ = 3.25f;
    send(window, mouse({441, 166}, Qt::LeftButton));
    EXPECT_EQ(std::tuple(state->prevMouseX, state->prevMouseY, state->prevHoverView,
                         state->prevCursorX, state->prevCursorY, state->prevCursorZ),
              std::tuple(100, 120, 1, 1.5f, -2.0f, 3.25f));
    send(window, mouse({442, 167}, Qt::RightButton));
    send(window, mouse({443, 168}));
    send(window, mouse({444, 169}, Qt::LeftButton | Qt::RightButton | Qt::MiddleButton));
    hoverAfterUpdate = TopPane; // a drag over a 2D pane, or outside VIEW mode: no recentring
    send(window, mouse({150, 165}, Qt::LeftButton));
    state->menuMode = MenuMovePoint;
    hoverAfterUpdate = PerspectivePane;
    send(window, mouse({445, 165}, Qt::LeftButton));
    send(window, mouse({-1, -20})); // outside the window: wrapped as unsigned 16-bit values
    EXPECT_EQ(log, "cursor 441,166 leftDrag recentre frame cursor 442,167 rightDrag recentre frame "
                   "cursor 443,168 frame cursor 444,169 bothDrag recentre frame "
                   "cursor 150,165 leftDrag frame cursor 445,165 leftDrag frame "
                   "cursor 65535,65516 frame ");
}

// A double click acts as two clicks; keys arrive as their codes, auto-repeat included, Tab not
// moving the focus and F10 kept from the handler; other events draw a frame and nothing else.
TEST_F(WindowMessages, EveryEventIsFollowedByExactlyOneFrameAndClosingEndsTheRun) {
    using testing::keyPress;
    const QPoint at = testing::markPoint(testing::menuMark(MenuNewPoint));
    send(window, mouse(at, Qt::LeftButton, QEvent::MouseButtonPress, Qt::LeftButton));
    send(window, mouse(at, Qt::NoButton, QEvent::MouseButtonRelease, Qt::LeftButton));
    send(window, mouse(at, Qt::LeftButton, QEvent::MouseButtonDblClick, Qt::LeftButton));
    send(window, mouse(at, Qt::NoButton, QEvent::MouseButtonRelease, Qt::LeftButton));
    send(window, mouse(at, Qt::RightButton, QEvent::MouseButtonPress, Qt::RightButton));
    send(window, mouse(at, Qt::RightButton, QEvent::MouseButtonDblClick, Qt::RightButton));
    send(window, keyPress(Qt::Key_A, Qt::NoModifier, "a"));
    send(window, keyPress(Qt::Key_A, Qt::NoModifier, "a", true));
    send(window, keyPress(Qt::Key_8, Qt::KeypadModifier, "8"));
    send(window, keyPress(Qt::Key_Left, Qt::KeypadModifier));
    send(window, keyPress(Qt::Key_Tab));
    send(window, keyPress(Qt::Key_F10));
    send(window, mouse(at, Qt::MiddleButton, QEvent::MouseButtonPress, Qt::MiddleButton));
    send(window, QKeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a"));
    send(window, QEvent(QEvent::Enter));
    EXPECT_EQ(log, "leftDown frame leftUp frame leftDown frame leftUp frame rightDown frame "
                   "rightDown frame key 65 frame key 65 frame key 104 frame key 37 frame key 9 "
                   "frame frame frame frame frame ");
    // Showing the last frame on screen draws no second one.
    EXPECT_EQ(window.windowTitle(), "POINT EDITOR");
    window.show();
    QCoreApplication::processEvents();
    const int afterShow = frames;
    window.update();
    QCoreApplication::processEvents();
    send(window, mouse({21, 30}));
    window.repaint();
    send(window, keyPress(Qt::Key_A));
    window.repaint();
    EXPECT_EQ(frames, afterShow + 2);
    state->running = 1;
    window.close();
    EXPECT_EQ(state->running, 0);
    EXPECT_GT(frames, afterShow + 2); // and one more frame at least
}

// A fine wheel's turns add up: two half notches are one notch, in either direction.
TEST_F(WindowMessages, HalfNotchesOfAFineWheelAddUpToWholeNotches) {
    for (int eighths : {60, 60, -120, -60, 30, -90}) {
        send(window, QWheelEvent(QPointF(150, 165), QPointF(150, 165), QPoint(), QPoint(0, eighths),
                                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
    }
    EXPECT_EQ(log, "frame wheel 1 frame wheel -1 frame frame frame wheel -1 frame ");
}

int count(const QImage& image, QRect area, QRgb colour) {
    const QImage part = image.copy(area);
    const auto* pixels = reinterpret_cast<const QRgb*>(part.constBits());
    return static_cast<int>(std::count(pixels, pixels + area.width() * area.height(), colour));
}

class LiveWindow : public QtTest, public testing::LiveEditor {
protected:
    void SetUp() override { ASSERT_EQ(state->running, 1); }
    QImage shown() { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(LiveWindow, TheTextColumnShowsTheActiveCommandAndTheToggles) {
    const QRgb text = qRgb(0x50, 0x50, 0xA0), active = qRgb(0xFF, 0xC3, 0xC3);
    const QRgb on = qRgb(0xAA, 0xFA, 0xAA);
    state->showDirection = 0;
    // Over no pane; choosing VIEW is a click on its mark.
    const QPoint viewMark = testing::markPoint(testing::menuMark(MenuView));
    send(window, mouse(viewMark));
    send(window, mouse(viewMark, Qt::LeftButton, QEvent::MouseButtonPress, Qt::LeftButton));
    ASSERT_EQ(state->menuMode, MenuView);
    const QImage shown = this->shown();

    // "◆ VIEW": a full-width mark, a space and four letters of 8 pixels, one 16-pixel cell high.
    const QRect view(600, 160, 16 + 8 * 5, 16);
    EXPECT_GT(count(shown, view, active), view.width() * 4);
    EXPECT_GT(count(shown, view, text), 20);
    EXPECT_EQ(count(shown, view, active) + count(shown, view, text), view.width() * 16);
    // No other menu entry, nor anything beside or below VIEW's cell, has that background.
    EXPECT_EQ(count(shown, QRect(600, 40, 200, 256), active), count(shown, view, active));
    // Toggles: all on but DIRECTION; "▼ GRID LOCK" is 16 + 10 x 8 pixels wide.
    const QRect gridLock(600, 360, 16 + 8 * 10, 16);
    EXPECT_EQ(count(shown, gridLock, on) + count(shown, gridLock, text), gridLock.width() * 16);
    EXPECT_EQ(count(shown, QRect(600, 380, 104, 16), on), 0);
    EXPECT_GT(count(shown, QRect(600, 380, 104, 16), text), 20);
    for (int y : {400, 420, 440}) {
        EXPECT_GT(count(shown, QRect(600, y, 80, 16), on), 400) << y;
    }
}

// A shorter zoom and cursor line leaves nothing of a longer one: the spaces that pad it to the
// window's edge are drawn, background and all.
TEST_F(LiveWindow, AShorterStatusLineLeavesNothingOfALongerOne) {
    const QRect right(400 + 18 * 8, 5, 256, 16); // right of "x2.0 (0.0/0.0/0.0)"
    state->cursorX = state->cursorY = state->cursorZ = -12345.5f;
    drawFrame(*state, session, session.frameTargets());
    EXPECT_GT(count(canvasImage(*canvas), right, qRgb(0x50, 0x50, 0xA0)), 0);
    state->cursorX = state->cursorY = state->cursorZ = 0.0f;
    drawFrame(*state, session, session.frameTargets());
    EXPECT_EQ(count(canvasImage(*canvas), right, qRgb(192, 192, 192)), right.width() * 16);
}

// The window manager draws a box's caption in its title font beside its icon and buttons.
TEST_F(QtTest, MessageBoxesAreWideEnoughForTheirWholeCaption) {
    const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    for (const char* caption : {"POINT COUNT", "ID-NUMBER SEARCH", "識別番号確認", "配置人数"}) {
        SCOPED_TRACE(caption);
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption), "5", QMessageBox::Ok);
        fitCaption(box);
        box.show();
        const int needed = title.horizontalAdvance(QString::fromUtf8(caption)) + 6 * title.height();
        EXPECT_GE(box.width(), needed);
    }
}

// The number box gives what was typed, within its range, or nothing when cancelled; the help
// window shows the rich text as a table and closes.
TEST_F(QtTest, TheNumberBoxAndTheHelpWindowAnswerAsThePlatformSays) {
    QtPlatform platform(nullptr);
    QString shown;
    const auto answer = [&](const std::function<void(QDialog&)>& act) {
        QTimer::singleShot(0, [&, act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "no modal dialog";
            shown = dialog->windowTitle();
            act(*dialog);
        });
    };
    // typed, accepted, what the box gives
    const std::tuple<int, bool, std::optional<int>> cases[] = {
        {-42, true, -42}, {300, true, 127}, {5, false, std::nullopt}};
    for (const auto& [typed, accepted, expected] : cases) {
        answer([typed = typed, accepted = accepted](QDialog& dialog) {
            auto* input = qobject_cast<QInputDialog*>(&dialog);
            ASSERT_NE(input, nullptr) << "not a number box";
            input->setIntValue(typed);
            accepted ? dialog.accept() : dialog.reject();
        });
        EXPECT_EQ(platform.askInteger("ID", "FIND", 3, -128, 127), expected) << typed;
        EXPECT_EQ(shown, "FIND") << typed;
    }
    int columns = 0, hidden = -1;
    answer([&columns, &hidden](QDialog& dialog) {
        auto* text = dialog.findChild<QTextBrowser*>();
        ASSERT_NE(text, nullptr) << "no text";
        hidden = text->verticalScrollBar()->maximum();
        for (QTextFrame* frame : text->document()->rootFrame()->childFrames()) {
            columns = qobject_cast<QTextTable*>(frame) ? qobject_cast<QTextTable*>(frame)->columns()
                                                       : columns;
        }
        dialog.reject();
    });
    platform.showHelp("<table><tr><td>F1</td><td>this help</td></tr></table>", "HELP");
    EXPECT_EQ(shown, "HELP") << "the help's caption";
    EXPECT_EQ(columns, 2) << "the help's table";
    EXPECT_EQ(hidden, 0) << "pixels of a short help out of sight";
}

// Frames of texts that overlap, change, shrink and change colour, as the column's name lines
// do: the overlay that skips texts the canvas still shows leaves the pixels that drawing every
// text of every frame gives (a fresh overlay each frame).
TEST_F(QtTest, TextsNotDrawnAgainLeaveThePixelsOfDrawingThemAll) {
    // x, y, text, background
    const std::tuple<int, int, const char*, uint32_t> calls[] = {
        {600, 480, "                        ", 0xC0C0C0},
        {600, 480, "HUMAN", 0xC0C0C0},
        {600, 480, "WEAPON", 0xC0C0C0},
        {620, 480, "M92F", 0xC0C0C0},
        {600, 160, "◆ VIEW", 0xC3C3FF},
        {600, 160, "◆ VIEW", 0xC0C0C0},
        {400, 5, "x2.0 (1.5/0.0/-3.0)      ", 0xC0C0C0},
        {400, 5, "x10.0 (0.0/0.0/0.0)", 0xC0C0C0},
        {290, 20, "over a pane", 0xC0C0C0}};
    auto retained = std::make_unique<Canvas>(), reference = std::make_unique<Canvas>();
    TextOverlay overlay(*retained);
    std::mt19937 random(3);
    for (int frame = 0; frame < 60; ++frame) {
        TextOverlay everything(*reference);
        for (int i = 0; i < 6; ++i) {
            const auto& [x, y, text, back] = calls[random() % std::size(calls)];
            overlay.drawText(x, y, text, 0xA05050, back);
            everything.drawText(x, y, text, 0xA05050, back);
        }
        ASSERT_EQ(retained->pixels, reference->pixels) << "frame " << frame;
    }
}

// The exit code (-1 for a crash) and the standard error of pointeditor-render.
// Run as in a container or a CI job: without XDG_RUNTIME_DIR.
std::pair<int, QString> render(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    process.setProcessEnvironment(environment);
    process.start(TAVO_RENDER_BINARY, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// Bad options, and files that cannot be read or written: a FIFO or a device is refused at once
// (never waited on), and an input is never the output. The writing itself (kept bytes and
// modes, links, no temporaries, huge inputs) is the file functions' own test's. Findings about
// the files go to standard error, one a line, and nothing else does; --strict makes them exit
// status 2.
TEST(RenderProgram, ExitStatusAndStandardErrorForOptionsFilesAndFindings) {
    QTemporaryDir dir;
    const QString png = dir.filePath("out.png"), fifo = dir.filePath("fifo");
    const QString points = dir.filePath("p.pd1"), cut = dir.filePath("cut.pd1");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    QFile::link("/dev/zero", dir.filePath("zero"));
    QFile::copy(TAVO_SOURCE_DIR "/samples/sample.pd1", points);
    std::ofstream(cut.toStdString()) << '\3' << std::string(46, '\0'); // 2 records and a part
    const QStringList failing =
        QString("--block %1/none.bd1|--points %1|-o %1/no/such/dir/out.png|--points %1/fifo|"
                "--block %1/fifo|--block %1/zero|-o %1/fifo|--points %1/p.pd1 -o %1/p.pd1|"
                "--zoom 0.05|--zoom 11|--zoom nan|--zoom 2x|--pan 1,2|--pan 1,2,3,4|--pan 1,,3|"
                "--pan inf,0,0|--camera 1,2,3,4|--params 1,2,3,128|--params 1,128,3,4|--select|"
                "--select 200|--lang E|--frobnicate|--block")
            .arg(dir.path())
            .split('|');
    for (const QString& arguments : failing) {
        SCOPED_TRACE(arguments.toStdString());
        const auto [exitCode, errors] = render(("-o " + png + " " + arguments).split(' '));
        EXPECT_EQ(std::tuple(exitCode, errors.count("pointeditor-render:"), QFile::exists(png)),
                  std::tuple(1, 1, false))
            << errors.toStdString();
    }
    const QString finding = "warning: file: the count says 3 points (62 bytes), but the file is "
                            "47 bytes long; 2 complete records read\n";
    const std::tuple<QString, int, QString> exact[] = {
        {"--select 5 -7", 0, ""},
        {"--help", 0, ""},
        {"--points " + points + " -o " + points, 1,
         "pointeditor-render: cannot write " + points + ": it is a file this command reads\n"},
        {"--lang e --points " + points, 0, ""},
        {"--lang e --points " + points + " --strict", 0, ""},
        {"--lang e --points " + cut, 0, finding},
        {"--lang e --points " + cut + " --strict", 2, finding}};
    for (const auto& [arguments, status, errors] : exact) {
        SCOPED_TRACE(arguments.toStdString());
        EXPECT_EQ(render(("-o " + png + " " + arguments).split(' ')), std::pair(status, errors));
    }
}

const QString Sample = TAVO_SOURCE_DIR "/samples/sample";

TEST_F(LiveWindow, TheRendererWritesTheFrameTheWindowShowsForTheSample) {
    window.show();
    edits.run(
        [](EditorState& s) {
            openBlockFile(s, (Sample + ".bd1").toStdString());
            openPointFile(s, (Sample + ".pd1").toStdString());
        },
        false);
    send(window, mouse({295, 10})); // over no pane
    ASSERT_GT(countUsedPoints(state->pointTable), 10);
    const QImage live = shown();

    QTemporaryDir out;
    const QString png = out.filePath("frame.png");
    const auto [exitCode, errors] =
        render({"--lang", "e", "--block", Sample + ".bd1", "--points", Sample + ".pd1", "-o", png});
    ASSERT_EQ(exitCode, 0) << errors.toStdString();
    const QImage written = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(written.size(), QSize(800, 600));
    EXPECT_TRUE(live == written) << "the renderer's frame differs from the window's";
    // Not trivially empty: the walls are drawn in the top pane.
    EXPECT_GT(count(written, QRect(10, 165, 280, 1), qRgb(255, 255, 255)), 0);
}

// A map of one box around the origin, every face showing slot 0, and `texture` in the first
// `copies` slots.
std::vector<uint8_t> boxMap(int copies, const std::string& texture) {
    BlockRecord block = testing::box(-10, -10, -10, 10, 10, 10);
    std::fill(std::begin(block.textureId), std::end(block.textureId), 0);
    return sample::encodeBlockFile(
        std::vector<std::string>(static_cast<std::size_t>(copies), texture), {block});
}

// "texture N NAME: over the texture budget" for each slot from `first` on.
std::string overBudget(int first, const std::string& texture) {
    std::string lines;
    for (int slot = first; slot < TextureCount; ++slot) {
        lines += "texture " + std::to_string(slot) + " " + texture + ": over the texture budget\n";
    }
    return lines;
}

// pointeditor-render drawing `map` under a time and memory limit. Qt warns on standard error
// without a runtime directory of the user's own; one malloc arena, as each thread's own would
// reserve far more address space than it uses.
testing::GuardedOutcome renderGuarded(const testing::ScratchDirectory& dir, const std::string& map,
                                      int seconds, int megabytes) {
    static const QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("MALLOC_ARENA_MAX", "1");
    return testing::runProgramGuarded(
        {TAVO_RENDER_BINARY, "--lang", "e", "--block", map, "-o", dir.at("frame.png")}, seconds,
        megabytes);
}

TEST(RenderProgram, HostileTexturesAreListedQuicklyWithinMemory) {
    const testing::ScratchDirectory dir;
    dir.write("big.png", testing::pngOf(8192, 8192, 1, PNG_COLOR_TYPE_GRAY, {0}));
    dir.write("thin.png", testing::pngOf(1, 8192, 8, PNG_COLOR_TYPE_GRAY, {0}));
    dir.write("scans.jpg", testing::repeatedScans(4096, 4096, 10000));
    // Each text inflated took a fifth of a second: 60 of them, 11 s.
    dir.write("texts.png", testing::withChunks(testing::pngOf(4, 4, 8, PNG_COLOR_TYPE_GRAY, {9}),
                                               testing::compressedTextChunk(8), 60));
    testing::Bytes depth8 = testing::tgaImageOf(2, 2, std::vector<uint32_t>(4, 0), {.type = 2});
    depth8[16] = 8; // a depth Qt's reader complains of
    dir.write("depth8.tga", depth8);
    const testing::Bytes packed = testing::tgaImageOf(64, 64, std::vector<uint32_t>(4096, 0), {});
    dir.write("cut.tga", testing::Bytes(packed.begin(), packed.end() - 1));
    std::filesystem::create_directory(dir.at("loop"));
    for (const char* name : {"abcd", "Abcd", "aBcd", "ABcd", "abCd", "AbCd", "aBCd", "ABCd", "abcD",
                             "AbcD", "aBcD", "ABcD", "abCD", "AbCD", "aBCD", "ABCD"}) {
        std::filesystem::create_directory_symlink(".", dir.at(std::string("loop/") + name));
    }
    const std::string loop = "abcd\\abcd\\abcd\\abcd\\abcd\\nope";
    // What, map, texture; copies: the texture in the first `copies` slots; megabytes: far above
    // what the load needs, far below what the fault took; seconds: generous for a busy machine,
    // well below what the fault took (290 s, 68 s, 11 s); the standard error, where Qt's own
    // lines about a file never appear.
    const std::tuple<const char*, std::string, std::string, int, int, int, std::string> cases[] = {
        {"8192 x 8192: one fits the budget", "big.bd1", "big.png", TextureCount, 2000, 60,
         overBudget(1, "big.png")},
        {"1 x 8192: no page of 8192 x 8192", "thin.bd1", "thin.png", TextureCount, 450, 60, ""},
        {"a progressive JPEG of 10,000 scans", "scans.bd1", "scans.jpg", 1, 1200, 60,
         "texture 0 scans.jpg: damaged\n"},
        {"16 links back to their folder", "loop/loop.bd1", loop, 1, 450, 20,
         "texture 0 " + loop + ": not found\n"},
        {"60 texts of 8 MiB compressed into a PNG", "texts.bd1", "texts.png", 1, 450, 2, ""},
        {"a TGA of a depth Qt's reader refuses", "depth.bd1", "depth8.tga", 1, 450, 20,
         "texture 0 depth8.tga: unsupported format\n"},
        {"a run-length TGA cut short", "cut.bd1", "cut.tga", 1, 450, 20,
         "texture 0 cut.tga: damaged\n"},
    };
    for (const auto& [what, mapName, texture, copies, megabytes, seconds, errors] : cases) {
        SCOPED_TRACE(what);
        // Sanitized builds run slower and take no memory limit.
        const testing::GuardedOutcome run =
            renderGuarded(dir, dir.write(mapName, boxMap(copies, texture)),
                          testing::MemoryLimitApplies ? seconds : 2 * seconds, megabytes);
        EXPECT_EQ(std::tuple(run.status, run.err), std::tuple(0, errors));
    }
}

// A loaded texture is its decoded pixels and its place in the atlas, one copy each at the
// peak; a copy with mips for filtered sampling is made only when a draw samples filtered,
// which the panes never do. Files of half the budget are decoded one after the other, as Qt's
// reader holds two copies while it reads. The first two rows took 960 MB and 870 MB. A GIF's
// reader allocates its whole logical screen, whatever its frames: a screen over a side is
// refused from the header (it took 400 MB to decode before it was refused).
TEST(RenderProgram, AMapLoadPeaksAtTwiceTheBudgetsPixelsAboveTheProgram) {
    const testing::ScratchDirectory dir;
    dir.write("big.png", testing::pngOf(MaxImageSide, MaxImageSide, 1, PNG_COLOR_TYPE_GRAY, {0}));
    dir.write("half.gif", testing::gifOf(5792, 5792)); // a 1 x 1 frame on half the budget
    dir.write("wide.gif", testing::gifOf(MaxImageSide + 8, 4000));         // a 1 x 1 frame
    constexpr long BudgetKiB = 2 * MapPixelBudget * 4 / 1024 + 150 * 1024; // and the program
    // what, the texture, in how many slots, seconds, the standard error, KiB at the peak
    const std::tuple<const char*, std::string, int, int, std::string, long> cases[] = {
        {"an 8192 x 8192 PNG", "big.png", 1, 120, "", BudgetKiB},
        // Two halves fit the budget; the other slots are refused.
        {"GIF screens of half the budget", "half.gif", TextureCount, 120, overBudget(2, "half.gif"),
         BudgetKiB},
        {"GIF screens over a side", "wide.gif", TextureCount, 20, overBudget(0, "wide.gif"),
         200 * 1024},
    };
    for (const auto& [what, texture, copies, seconds, errors, peakKiB] : cases) {
        SCOPED_TRACE(what);
        const testing::GuardedOutcome run =
            renderGuarded(dir, dir.write("map.bd1", boxMap(copies, texture)), seconds, 2000);
        EXPECT_EQ(std::tuple(run.status, run.err), std::tuple(0, errors));
        if (testing::MemoryLimitApplies) { // a sanitizer's shadow memory counts as resident
            EXPECT_LT(run.peakKiB, peakKiB) << "KiB at the peak";
        }
    }
}

} // namespace
} // namespace tavo
