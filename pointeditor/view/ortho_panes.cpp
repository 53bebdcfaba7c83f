#include "pointeditor/view/ortho_panes.h"

#include <cmath>

#include "pointeditor/data/block_geometry.h"
#include "pointeditor/data/pane_layout.h"
#include "pointeditor/view/device/device.h"
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

void drawWorldLine(const EditorState& state, Device& device, int pane, float x1, float y1, float z1,
                   float x2, float y2, float z2, uint32_t colour) {
    PanePixel a = mapToPane(state, pane, x1, y1, z1);
    PanePixel b = mapToPane(state, pane, x2, y2, z2);
    drawLine2D(device, a.x, a.y, b.x, b.y, colour);
}

void drawAxes(const EditorState& state, Device& device, int pane) {
    const float h = AxisHalfLength;
    switch (pane) {
    case TopPane:
        drawWorldLine(state, device, pane, -h, 0, 0, h, 0, 0, AxesColour);
        drawWorldLine(state, device, pane, 0, 0, -h, 0, 0, h, AxesColour);
        break;
    case FrontPane:
        drawWorldLine(state, device, pane, -h, 0, 0, h, 0, 0, AxesColour);
        drawWorldLine(state, device, pane, 0, -h, 0, 0, h, 0, AxesColour);
        break;
    default:
        drawWorldLine(state, device, pane, 0, 0, -h, 0, 0, h, AxesColour);
        drawWorldLine(state, device, pane, 0, -h, 0, 0, h, 0, AxesColour);
        break;
    }
}

void drawBlockEdges(const EditorState& state, Device& device, int pane) {
    for (const BlockRecord& block : state.blocks) {
        if (block.inUse == 0) {
            continue;
        }
        for (const BlockEdge& edge : BlockEdges) {
            drawWorldLine(state, device, pane, block.x[edge.from], block.y[edge.from],
                          block.z[edge.from], block.x[edge.to], block.y[edge.to], block.z[edge.to],
                          BlockEdgeColour);
        }
    }
}

void drawLinkLines(const EditorState& state, Device& device, const LinkLines& links, int pane) {
    for (int i = 0; i < links.count && i < MaxLinkLines; ++i) {
        const LinkLine& line = links.lines[static_cast<std::size_t>(i)];
        drawWorldLine(state, device, pane, line.fromX, line.fromY, line.fromZ, line.toX, line.toY,
                      line.toZ, line.colour);
    }
}

void drawPoints(const EditorState& state, Device& device, int pane) {
    for (int j = 0; j < MaxPoints; ++j) {
        if (state.pointTable.pointUsed[static_cast<std::size_t>(j)] == SlotFree) {
            continue;
        }
        const PointRecord& p = state.pointTable.points[static_cast<std::size_t>(j)];
        const uint32_t colour = pointColour(state, j);
        PanePixel at = mapToPane(state, pane, p.x, p.y, p.z);
        drawMarker2D(device, at.x, at.y, colour);
        if (pane == TopPane && state.showDirection == 1) {
            drawWorldLine(state, device, pane, p.x, p.y, p.z, p.x + HeadingLength * std::sin(p.r),
                          p.y, p.z + HeadingLength * std::cos(p.r), colour);
        }
    }
}

void drawCameraCross(const EditorState& state, Device& device, int pane) {
    PanePixel c = mapToPane(state, pane, WorldPerCameraUnit * state.cameraX,
                            WorldPerCameraUnit * state.cameraY, WorldPerCameraUnit * state.cameraZ);
    drawLine2D(device, c.x - CameraCrossArm, c.y, c.x + CameraCrossArm, c.y, CameraColour);
    drawLine2D(device, c.x, c.y - CameraCrossArm, c.x, c.y + CameraCrossArm, CameraColour);
}

void drawSelectionBox(const EditorState& state, Device& device, int pane) {
    if (!selectionBoxShown(state, pane)) {
        return;
    }
    PanePixel s = mapToPane(state, pane, state.boxStartX, state.boxStartY, state.boxStartZ);
    PanePixel c = mapToPane(state, pane, state.cursorX, state.cursorY, state.cursorZ);
    drawLine2D(device, s.x, s.y, s.x, c.y, BoxOutlineColour);
    drawLine2D(device, c.x, s.y, c.x, c.y, BoxOutlineColour);
    drawLine2D(device, s.x, s.y, c.x, s.y, BoxOutlineColour);
    drawLine2D(device, s.x, c.y, c.x, c.y, BoxOutlineColour);
    fillRect2D(device, s.x, s.y, c.x, c.y, BoxFillColour);
}

} // namespace

bool selectionBoxShown(const EditorState& state, int pane) {
    return state.menuMode == MenuSelectPoint && state.boxView == pane && state.hoverView == pane;
}

void drawPaneGrid(Device& device) {
    for (int i = 0; i < GridLines; ++i) {
        float v = GridSpacing * static_cast<float>(i);
        uint32_t colour = (i + 1) % 5 == 0 ? GridFifthColour : GridColour;
        drawLine2D(device, 0.0f, v, static_cast<float>(PaneSize), v, colour);
        drawLine2D(device, v, 0.0f, v, static_cast<float>(PaneSize), colour);
    }
}

void drawOrthoPane(const EditorState& state, Device& device, const LinkLines& links, int pane) {
    if (pane < TopPane || pane > SidePane) {
        return;
    }
    drawAxes(state, device, pane);
    drawBlockEdges(state, device, pane);
    drawLinkLines(state, device, links, pane);
    drawPoints(state, device, pane);
    drawCameraCross(state, device, pane);
    drawSelectionBox(state, device, pane);
}

void drawLine2D(Device& device, float x1, float y1, float x2, float y2, uint32_t colour) {
    device.setTexture(nullptr);
    PaneVertex vertices[2] = {paneVertex(x1, y1, colour, 0.0f, 0.0f),
                              paneVertex(x2, y2, colour, 0.0f, 0.0f)};
    device.drawPrimitiveUP(PrimitiveType::LineStrip, 1, vertices);
}

void drawMarker2D(Device& device, float x, float y, uint32_t colour) {
    device.setTexture(nullptr);
    PaneVertex vertices[4] = {
        paneVertex(x + 3.0f, y - 2.0f, colour, 1.0f, 0.0f),
        paneVertex(x + 3.0f, y + 3.0f, colour, 1.0f, 1.0f),
        paneVertex(x - 2.0f, y + 3.0f, colour, 0.0f, 1.0f),
        paneVertex(x - 2.0f, y - 2.0f, colour, 0.0f, 0.0f),
    };
    device.drawPrimitiveUP(PrimitiveType::TriangleFan, 2, vertices);
}

void fillRect2D(Device& device, float x1, float y1, float x2, float y2, uint32_t colour) {
    device.setTexture(nullptr);
    PaneVertex vertices[4] = {
        paneVertex(x2, y1, colour, 1.0f, 0.0f),
        paneVertex(x2, y2, colour, 1.0f, 1.0f),
        paneVertex(x1, y2, colour, 0.0f, 1.0f),
        paneVertex(x1, y1, colour, 0.0f, 0.0f),
    };
    device.drawPrimitiveUP(PrimitiveType::TriangleFan, 2, vertices);
}

} // namespace tavo
