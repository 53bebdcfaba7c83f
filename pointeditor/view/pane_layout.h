#pragma once
// Where the four panes sit in the window, and their numbers as hoverView and boxView use them.

namespace tavo {

inline constexpr int PaneSize = 280;     // each pane is a square of this many pixels
inline constexpr float PaneCentre = 140; // pixel of the world point shown at a 2D pane's centre

enum PaneNumber { TopPane = 1, FrontPane = 2, SidePane = 3, PerspectivePane = 4 };

struct PaneOrigin {
    int left;
    int top;
};

inline constexpr PaneOrigin TopPaneOrigin{10, 25};
inline constexpr PaneOrigin FrontPaneOrigin{10, 315};
inline constexpr PaneOrigin SidePaneOrigin{300, 315};
inline constexpr PaneOrigin PerspectivePaneOrigin{300, 25};

} // namespace tavo
