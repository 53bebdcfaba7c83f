// Mouse moves through the editor's whole message path: the real window gets a Qt mouse move,
// the handlers update the cursor, drawFrame writes the text column and draws the panes that
// changed, and the window shows the canvas. Moves that change no pane, in the state the editor
// starts in and in the heaviest scene it can hold, and in that scene moves that change some;
// each against the floor (pane_floor.h).

#include <benchmark/benchmark.h>

#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <memory>

#include "heaviest_scene.h"
#include "pane_floor.h"
#include "pointeditor/shell/tests/live_editor.h"

namespace tavo {
namespace {

struct Editor : testing::LiveEditor {
    testing::ScratchDirectory textures;

    Editor() {
        window.show();
        QCoreApplication::processEvents();
    }

    // A move by (dx, dy) from where the pointer is, with the given buttons held.
    void move(int dx, int dy, Qt::MouseButtons buttons = Qt::NoButton) {
        const QPointF at(state->mouseX + dx, state->mouseY + dy);
        QMouseEvent event(QEvent::MouseMove, at, at, Qt::NoButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
        QCoreApplication::processEvents(); // the paint that shows the frame
    }
};

// A benchmark's scene and moves: the menu mode (none: as the editor starts), whether a
// selection box is open, where the moves start, and each move's step and buttons.
struct Moves {
    int mode; // -1: the editor as it starts, no scene
    bool box;
    int x, y, dx, dy;
    Qt::MouseButtons buttons;
};

// Moves to and fro: a step one way, then back.
void runMoves(benchmark::State& run, Moves m) {
    Editor editor;
    if (editor.session.frameTargets() == nullptr) {
        run.SkipWithError("no graphics device");
        return;
    }
    if (m.mode >= 0) {
        bench::fillHeaviestScene(*editor.state, editor.textures);
        editor.state->menuMode = m.mode;
        editor.state->boxView = m.box ? TopPane : NoPane;
    }
    editor.move(m.x - editor.state->mouseX, m.y - editor.state->mouseY);
    const double floor = bench::floorMilliseconds();
    bench::Stopwatch watch;
    int sign = 1;
    for (auto _ : run) {
        editor.move(sign * m.dx, sign * m.dy, m.buttons);
        sign = -sign;
    }
    bench::reportAgainstFloor(run, watch, floor);
    run.counters["moves/s"] =
        benchmark::Counter(static_cast<double>(run.iterations()), benchmark::Counter::kIsRate);
}
} // namespace
} // namespace tavo

int main(int argc, char** argv) {
    using namespace tavo;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::pair<const char*, Moves> benchmarks[] = {
        // Hovering over the top pane with no command that reads the pointer: no pane changes.
        {"HoverInitialState", {-1, false, 100, 120, 3, 1, Qt::NoButton}},
        {"HoverWorstCase", {MenuSelectPoint, false, 100, 120, 3, 1, Qt::NoButton}},
        // A selection box being drawn in the top pane: that pane changes with every move.
        {"SelectionBoxWorstCase", {MenuSelectPoint, true, 100, 120, 3, 1, Qt::NoButton}},
        // MOVE POINT dragging the selected points in the top pane: the 2D panes and the 3D pane.
        {"MoveDragWorstCase", {MenuMovePoint, false, 100, 120, 6, 2, Qt::LeftButton}},
        // VIEW turning the camera in the 3D pane: only the 3D pane changes.
        {"CameraTurnWorstCase", {MenuView, false, 440, 165, 3, 0, Qt::LeftButton}},
    };
    for (const auto& [name, moves] : benchmarks) {
        benchmark::RegisterBenchmark(name, runMoves, moves)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
