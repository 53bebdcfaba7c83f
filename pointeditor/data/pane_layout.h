#pragma once
// Where the four panes sit in the window. The view presents each pane at its origin; the mouse
// finds the pane under the pointer from the same rectangles.

#include "pointeditor/data/editor_state.h"

namespace tavo {

inline constexpr int PaneSize = 280;     // each pane is a square of this many pixels
inline constexpr float PaneCentre = 140; // pixel of the world point shown at a 2D pane's centre

struct PaneOrigin {
    int left;
    int top;
};

// The window position of pane's top left pixel; pane is TopPane .. PerspectivePane.
constexpr PaneOrigin paneOrigin(int pane) {
    switch (pane) {
    case TopPane:
        return {10, 25};
    case FrontPane:
        return {10, 315};
    case SidePane:
        return {300, 315};
    default:
        return {300, 25};
    }
}

} // namespace tavo
