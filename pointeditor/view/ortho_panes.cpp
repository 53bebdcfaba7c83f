#include "pointeditor/view/ortho_panes.h"

#include <cmath>

#include "pointeditor/data/pane_layout.h"
#include "pointeditor/view/block_geometry.h"
#include "pointeditor/view/device.h"
#include "pointeditor/view/point_markers.h"

namespace tavo {

namespace {

constexpr uint32_t GridColour = 0x82FF0000;
constexpr uint32_t GridFifthColour = 0xF0FF0000;
constexpr uint32_t AxesColour = 0xC800FF00;
constexpr uint32_t BlockEdgeColour = 0xFFFFFFFF;
constexpr uint32_t CameraColour = 0xFFFF00FF;
constexpr uint32_t BoxOutlineColour = 0xFF7878FF;
constexpr uint32_t BoxFillColour = 0x467878FF;
constexpr float AxisHalfLength = 50.0f; // world units
constexpr float HeadingLength = 10.0f;  // world units
constexpr float CameraCrossArm = 10.0f; // pixels
constexpr int GridLines = 28;
constexpr float GridSpacing = 10.0f; // pixels
constexpr float WorldPerCameraUnit = 2.0f;

PaneVertex paneVertex(float x, float y, uint32_t colour, float u, float v) {
    return {x, y, 0.0f, 1.0f, colour, u, v};
}

void drawWorldLine(EditorState& state, int pane, float x1, float y1, float z1, float x2, float y2,
                   float z2, uint32_t colour) {
    PanePixel a = mapToPane(state, pane, x1, y1, z1);
    PanePixel b = mapToPane(state, pane, x2, y2, z2);
    drawLine2D(state, a.x, a.y, b.x, b.y, colour);
}

void drawAxes(EditorState& state, int pane) {
    const float h = AxisHalfLength;
    switch (pane) {
    case TopPane:
        drawWorldLine(state, pane, -h, 0, 0, h, 0, 0, AxesColour);
        drawWorldLine(state, pane, 0, 0, -h, 0, 0, h, AxesColour);
        break;
    case FrontPane:
        drawWorldLine(state, pane, -h, 0, 0, h, 0, 0, AxesColour);
        drawWorldLine(state, pane, 0, -h, 0, 0, h, 0, AxesColour);
        break;
    default:
        drawWorldLine(state, pane, 0, 0, -h, 0, 0, h, AxesColour);
        drawWorldLine(state, pane, 0, -h, 0, 0, h, 0, AxesColour);
        break;
    }
}

void drawBlockEdges(EditorState& state, int pane) {
    for (const BlockRecord& block : state.blocks) {
        if (block.inUse == 0) {
            continue;
        }
        for (const BlockEdge& edge : BlockEdges) {
            drawWorldLine(state, pane, block.x[edge.from], block.y[edge.from], block.z[edge.from],
                          block.x[edge.to], block.y[edge.to], block.z[edge.to], BlockEdgeColour);
        }
    }
}

void drawLinkLines(EditorState& state, int pane) {
    for (int i = 0; i < state.linkLineCount && i < MaxLinkLines; ++i) {
        const LinkLine& line = state.linkLines[static_cast<std::size_t>(i)];
        drawWorldLine(state, pane, line.fromX, line.fromY, line.fromZ, line.toX, line.toY, line.toZ,
                      line.colour);
    }
}

void drawPoints(EditorState& state, int pane) {
    for (int j = 0; j < MaxPoints; ++j) {
        if (state.pointTable.pointUsed[static_cast<std::size_t>(j)] == SlotFree) {
            continue;
        }
        const PointRecord& p = state.pointTable.points[static_cast<std::size_t>(j)];
        const uint32_t colour = pointColour(state, j);
        PanePixel at = mapToPane(state, pane, p.x, p.y, p.z);
        drawMarker2D(state, at.x, at.y, colour);
        if (pane == TopPane && state.showDirection == 1) {
            drawWorldLine(state, pane, p.x, p.y, p.z, p.x + HeadingLength * std::sin(p.r), p.y,
                          p.z + HeadingLength * std::cos(p.r), colour);
        }
    }
}

void drawCameraCross(EditorState& state, int pane) {
    PanePixel c = mapToPane(state, pane, WorldPerCameraUnit * state.cameraX,
                            WorldPerCameraUnit * state.cameraY, WorldPerCameraUnit * state.cameraZ);
    drawLine2D(state, c.x - CameraCrossArm, c.y, c.x + CameraCrossArm, c.y, CameraColour);
    drawLine2D(state, c.x, c.y - CameraCrossArm, c.x, c.y + CameraCrossArm, CameraColour);
}

void drawSelectionBox(EditorState& state, int pane) {
    if (!selectionBoxShown(state, pane)) {
        return;
    }
    PanePixel s = mapToPane(state, pane, state.boxStartX, state.boxStartY, state.boxStartZ);
    PanePixel c = mapToPane(state, pane, state.cursorX, state.cursorY, state.cursorZ);
    drawLine2D(state, s.x, s.y, s.x, c.y, BoxOutlineColour);
    drawLine2D(state, c.x, s.y, c.x, c.y, BoxOutlineColour);
    drawLine2D(state, s.x, s.y, c.x, s.y, BoxOutlineColour);
    drawLine2D(state, s.x, c.y, c.x, c.y, BoxOutlineColour);
    fillRect2D(state, s.x, s.y, c.x, c.y, BoxFillColour);
}

} // namespace

bool selectionBoxShown(const EditorState& state, int pane) {
    return state.menuMode == MenuSelectPoint && state.boxView == pane && state.hoverView == pane;
}

PanePixel mapToPane(const EditorState& state, int pane, float x, float y, float z) {
    // Each step is rounded to a float, in this order, so that the cursor's inverse mapping
    // lands on the same pixels.
    auto scaled = [&](float offset) {
        float pixels = offset * state.zoom;
        return pixels + PaneCentre;
    };
    switch (pane) {
    case TopPane:
        return {scaled(x - state.panX), scaled(-z - state.panZ)};
    case FrontPane:
        return {scaled(x - state.panX), scaled(-y - state.panY)};
    default:
        return {scaled(z + state.panZ), scaled(-y - state.panY)};
    }
}

void drawPaneGrid(EditorState& state) {
    for (int i = 0; i < GridLines; ++i) {
        float v = GridSpacing * static_cast<float>(i);
        uint32_t colour = (i + 1) % 5 == 0 ? GridFifthColour : GridColour;
        drawLine2D(state, 0.0f, v, static_cast<float>(PaneSize), v, colour);
        drawLine2D(state, v, 0.0f, v, static_cast<float>(PaneSize), colour);
    }
}

void drawOrthoPane(EditorState& state, int pane) {
    if (pane < TopPane || pane > SidePane) {
        return;
    }
    drawAxes(state, pane);
    drawBlockEdges(state, pane);
    drawLinkLines(state, pane);
    drawPoints(state, pane);
    drawCameraCross(state, pane);
    drawSelectionBox(state, pane);
}

void drawLine2D(EditorState& state, float x1, float y1, float x2, float y2, uint32_t colour) {
    state.device->setTexture(nullptr);
    PaneVertex vertices[2] = {paneVertex(x1, y1, colour, 0.0f, 0.0f),
                              paneVertex(x2, y2, colour, 0.0f, 0.0f)};
    state.device->drawPrimitiveUP(PrimitiveType::LineStrip, 1, vertices);
}

void drawMarker2D(EditorState& state, float x, float y, uint32_t colour) {
    state.device->setTexture(nullptr);
    PaneVertex vertices[4] = {
        paneVertex(x + 3.0f, y - 2.0f, colour, 1.0f, 0.0f),
        paneVertex(x + 3.0f, y + 3.0f, colour, 1.0f, 1.0f),
        paneVertex(x - 2.0f, y + 3.0f, colour, 0.0f, 1.0f),
        paneVertex(x - 2.0f, y - 2.0f, colour, 0.0f, 0.0f),
    };
    state.device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, vertices);
}

void fillRect2D(EditorState& state, float x1, float y1, float x2, float y2, uint32_t colour) {
    state.device->setTexture(nullptr);
    PaneVertex vertices[4] = {
        paneVertex(x2, y1, colour, 1.0f, 0.0f),
        paneVertex(x2, y2, colour, 1.0f, 1.0f),
        paneVertex(x1, y2, colour, 0.0f, 1.0f),
        paneVertex(x1, y1, colour, 0.0f, 0.0f),
    };
    state.device->drawPrimitiveUP(PrimitiveType::TriangleFan, 2, vertices);
}

} // namespace tavo
