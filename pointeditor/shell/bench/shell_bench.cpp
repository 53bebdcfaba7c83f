// Mouse moves through the editor's whole message path: the real window gets a Qt mouse move,
// the handlers update the cursor, drawFrame writes the text column and draws the panes that
// changed, and the window shows the canvas. Moves that change no pane, in the state the editor
// starts in and in the heaviest scene it can hold, and in that scene moves that change some;
// each against the floor (pane_floor.h).

#include <benchmark/benchmark.h>

#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <memory>

#include "pane_floor.h"
#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/qt_platform.h"

namespace tavo {
namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "shell_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto* instance = new QApplication(argc, argv);
    return *instance;
}

BlockRecord box(float x0, float y0, float z0, float x1, float y1, float z1, int texture) {
    BlockRecord block;
    const float xs[8] = {x0, x1, x1, x0, x0, x1, x1, x0};
    const float zs[8] = {z0, z0, z1, z1, z0, z0, z1, z1};
    for (int c = 0; c < 8; ++c) {
        block.x[c] = xs[c];
        block.y[c] = c < 4 ? y1 : y0;
        block.z[c] = zs[c];
    }
    const float us[4] = {0, 2, 2, 0};
    const float vs[4] = {0, 0, 2, 2};
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 4; ++k) {
            block.u[f][k] = us[k];
            block.v[f][k] = vs[k];
        }
        block.textureId[f] = (texture + f) % TextureCount;
    }
    block.inUse = 1;
    return block;
}

struct Editor {
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    DeviceSession session{*canvas};
    EditorWindow window{*state, *canvas, editorHandlers()};
    QtPlatform platform{&window, session};
    QTemporaryDir textures;

    Editor() {
        state->platform = &platform;
        state->english = 1;
        session.initDevice(*state);
        window.show();
        QCoreApplication::processEvents();
    }
    ~Editor() { session.releaseDevice(*state); }

    // 160 textured blocks inside the 2D panes, 200 points linked into a full list of lines,
    // ten 256 x 256 textures, a selection box open in the top pane.
    void fillWorstCase() {
        for (int t = 0; t < TextureCount; ++t) {
            QImage image(256, 256, QImage::Format_RGB32);
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 256; ++x) {
                    image.setPixel(x, y, qRgb((x * (t + 1)) & 0xFF, y, ((x ^ y) * 7) & 0xFF));
                }
            }
            const QString path = textures.filePath(QString("t%1.png").arg(t));
            image.save(path);
            state->textures[static_cast<std::size_t>(t)] =
                state->textureLoader->loadTexture(path.toStdString());
        }
        for (int i = 0; i < MaxBlocks; ++i) {
            const float x = static_cast<float>(i % 16) * 8.0f - 64.0f;
            const float z = static_cast<float>(i / 16) * 12.0f - 60.0f;
            const float height = 4.0f + static_cast<float>((i * 7) % 13);
            state->blocks[static_cast<std::size_t>(i)] = box(x, 0, z, x + 6, height, z + 9, i);
        }
        const int8_t kinds[] = {3, 8, 1, 6, 12, 3, 10, 2, 3, 15};
        for (int i = 0; i < MaxPoints; ++i) {
            PointRecord& p = state->points[static_cast<std::size_t>(i)];
            p.x = static_cast<float>(i % 20) * 6.0f - 60.0f;
            p.y = static_cast<float>(i % 7);
            p.z = static_cast<float>(i / 20) * 12.0f - 60.0f;
            p.p1 = kinds[i % 10];
            p.p2 = static_cast<int8_t>((i * 3 + 1) % 100);
            p.p3 = static_cast<int8_t>((i + 1) % 100);
            p.p4 = static_cast<int8_t>(i % 100);
            state->pointUsed[static_cast<std::size_t>(i)] = i % 9 == 0 ? 2 : 1;
        }
        state->menuMode = MenuSelectPoint;
        state->boxView = TopPane;
        state->boxStartX = -30.0f;
        state->boxStartZ = -30.0f;
    }

    // A move by (dx, dy) from where the pointer is, with the given buttons held.
    void move(int dx, int dy, Qt::MouseButtons buttons = Qt::NoButton) {
        const QPointF at(state->mouseX + dx, state->mouseY + dy);
        QMouseEvent event(QEvent::MouseMove, at, at, Qt::NoButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
        QCoreApplication::processEvents(); // the paint that shows the frame
    }
    void moveTo(int x, int y) { move(x - state->mouseX, y - state->mouseY); }
};

// Moves to and fro: `step` pixels one way, then back.
void runMoves(benchmark::State& run, Editor& editor, int dx, int dy,
              Qt::MouseButtons buttons = Qt::NoButton) {
    if (editor.state->device == nullptr) {
        run.SkipWithError("no graphics device");
        return;
    }
    const double floor = bench::floorMilliseconds();
    bench::Stopwatch watch;
    int sign = 1;
    for (auto _ : run) {
        editor.move(sign * dx, sign * dy, buttons);
        sign = -sign;
    }
    bench::reportAgainstFloor(run, watch, floor);
    run.counters["moves/s"] =
        benchmark::Counter(static_cast<double>(run.iterations()), benchmark::Counter::kIsRate);
}

// Hovering over the top pane with no command that reads the pointer: no pane changes.
void BM_HoverInitialState(benchmark::State& run) {
    app();
    Editor editor;
    editor.moveTo(100, 120);
    runMoves(run, editor, 3, 1);
}
BENCHMARK(BM_HoverInitialState)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HoverWorstCase(benchmark::State& run) {
    app();
    Editor editor;
    editor.fillWorstCase();
    editor.state->boxView = 0;
    editor.moveTo(100, 120);
    runMoves(run, editor, 3, 1);
}
BENCHMARK(BM_HoverWorstCase)->Unit(benchmark::kMillisecond)->UseRealTime();

// A selection box being drawn in the top pane: that pane changes with every move.
void BM_SelectionBoxWorstCase(benchmark::State& run) {
    app();
    Editor editor;
    editor.fillWorstCase();
    editor.moveTo(100, 120);
    runMoves(run, editor, 3, 1);
}
BENCHMARK(BM_SelectionBoxWorstCase)->Unit(benchmark::kMillisecond)->UseRealTime();

// MOVE POINT dragging the selected points in the top pane: the three 2D panes and the 3D pane.
void BM_MoveDragWorstCase(benchmark::State& run) {
    app();
    Editor editor;
    editor.fillWorstCase();
    editor.state->menuMode = MenuMovePoint;
    editor.state->boxView = 0;
    editor.moveTo(100, 120);
    runMoves(run, editor, 6, 2, Qt::LeftButton);
}
BENCHMARK(BM_MoveDragWorstCase)->Unit(benchmark::kMillisecond)->UseRealTime();

// VIEW turning the camera in the 3D pane: only the 3D pane changes.
void BM_CameraTurnWorstCase(benchmark::State& run) {
    app();
    Editor editor;
    editor.fillWorstCase();
    editor.state->menuMode = MenuView;
    editor.state->boxView = 0;
    editor.moveTo(440, 165);
    runMoves(run, editor, 3, 0, Qt::LeftButton);
}
BENCHMARK(BM_CameraTurnWorstCase)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tavo

BENCHMARK_MAIN();
