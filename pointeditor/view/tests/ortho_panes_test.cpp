// The three 2D panes read back from the canvas: grid, axes, block outlines, point squares,
// headings, the camera cross, the selection box and panes that are turned off.

#include <gtest/gtest.h>

#include <cmath>

#include "gl_fixture.h"
#include "pointeditor/view/ortho_panes.h"
#include "pointeditor/view/pane_layout.h"
#include "pointeditor/view/render_panes.h"
#include "scene_builders.h"

namespace tavo {
namespace {

using testing::Rgb;

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};
constexpr Rgb SelectedGreen{0, 255, 0};
constexpr Rgb Magenta{255, 0, 255};

class OrthoTest : public testing::GlTest {
  protected:
    Rgb top(int x, int y) const { return pixel(TopPaneOrigin.left, TopPaneOrigin.top, x, y); }
    Rgb front(int x, int y) const { return pixel(FrontPaneOrigin.left, FrontPaneOrigin.top, x, y); }
    Rgb side(int x, int y) const { return pixel(SidePaneOrigin.left, SidePaneOrigin.top, x, y); }
    Rgb pane(int index, int x, int y) const {
        return index == TopView ? top(x, y) : index == FrontView ? front(x, y) : side(x, y);
    }
};

TEST_F(OrthoTest, GridLinesEveryTenPixelsBrighterEveryFifty) {
    renderPanes(state);
    for (int i = 0; i < 28; ++i) {
        int v = 10 * i;
        int red = (i + 1) % 5 == 0 ? 240 : 130;
        // Away from the crossings, the axes and the other lines.
        EXPECT_EQ(top(5, v), (Rgb{red, 0, 0})) << v;
        EXPECT_EQ(front(v, 275), (Rgb{red, 0, 0})) << v;
        EXPECT_EQ(side(275, v), (Rgb{red, 0, 0})) << v;
    }
    EXPECT_EQ(top(5, 5), Black);
    EXPECT_EQ(top(5, 279), Black);
    EXPECT_EQ(top(279, 5), Black);
}

TEST_F(OrthoTest, AxesSpanFiftyWorldUnitsEachWayAtZoomTwo) {
    renderPanes(state);
    for (int index : {TopView, FrontView, SideView}) {
        // Horizontal axis along row 140 from 40 to 240, vertical along column 140.
        EXPECT_EQ(pane(index, 39, 140).g, 0) << index;
        EXPECT_EQ(pane(index, 241, 140).g, 0) << index;
        EXPECT_EQ(pane(index, 140, 39).g, 0) << index;
        EXPECT_EQ(pane(index, 140, 241).g, 0) << index;
        for (int p : {40, 41, 77, 203, 240}) {
            EXPECT_EQ(pane(index, p, 140).g, 200) << index << " " << p;
            EXPECT_EQ(pane(index, 140, p).g, 200) << index << " " << p;
        }
        // Green at alpha 200 over the bright grid line of row 140: red keeps 55/255 of 240.
        EXPECT_TRUE(testing::near(pane(index, 77, 140), Rgb{52, 200, 0}, 1));
    }
    state.zoom = 1.0f;
    renderPanes(state);
    EXPECT_EQ(top(89, 140).g, 0);
    EXPECT_EQ(top(90, 140).g, 200);
    EXPECT_EQ(top(190, 140).g, 200);
    EXPECT_EQ(top(191, 140).g, 0);
}

TEST_F(OrthoTest, BlockEdgesLandOnTheMappedPixelsOfEachPane) {
    // x 11..31, y 3..13, z -21..-11 world units; panned so the pictures move off the axes.
    state.blocks[7] = testing::box(11, 3, -21, 31, 13, -11);
    state.panX = 2.0f;  // centre at world x 2
    state.panY = -1.0f; // centre at world y 1 (stored negated)
    state.panZ = 1.5f;  // centre at world z -1.5
    renderPanes(state);
    struct Rect {
        int index, left, top, right, bottom;
    };
    // top: px = (x - 2) * 2 + 140, py = (-z - 1.5) * 2 + 140
    // front: py = (-y + 1) * 2 + 140; side: px = (z + 1.5) * 2 + 140
    const Rect rects[] = {
        {TopView, 158, 159, 198, 179},
        {FrontView, 158, 116, 198, 136},
        {SideView, 101, 116, 121, 136},
    };
    for (const Rect& r : rects) {
        int midX = (r.left + r.right) / 2 + 1;
        int midY = (r.top + r.bottom) / 2 + 1;
        for (int x : {r.left, r.right}) {
            EXPECT_EQ(pane(r.index, x, midY), White) << r.index << " x " << x;
            EXPECT_NE(pane(r.index, x - 1, midY), White) << r.index << " x " << x;
            EXPECT_NE(pane(r.index, x + 1, midY), White) << r.index << " x " << x;
        }
        for (int y : {r.top, r.bottom}) {
            EXPECT_EQ(pane(r.index, midX, y), White) << r.index << " y " << y;
            EXPECT_NE(pane(r.index, midX, y - 1), White) << r.index << " y " << y;
            EXPECT_NE(pane(r.index, midX, y + 1), White) << r.index << " y " << y;
        }
        EXPECT_EQ(pane(r.index, r.left, r.top), White);
        EXPECT_EQ(pane(r.index, r.right, r.bottom), White);
        EXPECT_NE(pane(r.index, midX, midY), White);
    }
}

TEST_F(OrthoTest, PointSquaresCoverFivePixelsInTheirColour) {
    // World (5.5, 7, -9.5): top (151, 159), front (151, 126), side (121, 126).
    state.showDirection = 0;
    state.points[3] = testing::point(5.5f, 7, -9.5f, -128);
    state.pointUsed[3] = 1;
    state.points[4] = testing::point(-30.5f, -20, 30.5f, -7);
    state.pointUsed[4] = 2;
    renderPanes(state);
    const Rgb yellow{255, 255, 0};
    struct Centre {
        int index, x, y;
    };
    for (const Centre& c :
         {Centre{TopView, 151, 159}, Centre{FrontView, 151, 126}, Centre{SideView, 121, 126}}) {
        for (int d = -2; d <= 2; ++d) {
            EXPECT_EQ(pane(c.index, c.x + d, c.y - 2), yellow) << c.index;
            EXPECT_EQ(pane(c.index, c.x + d, c.y + 2), yellow) << c.index;
            EXPECT_EQ(pane(c.index, c.x - 2, c.y + d), yellow) << c.index;
            EXPECT_EQ(pane(c.index, c.x + 2, c.y + d), yellow) << c.index;
            EXPECT_NE(pane(c.index, c.x + d, c.y - 3), yellow) << c.index;
            EXPECT_NE(pane(c.index, c.x + d, c.y + 3), yellow) << c.index;
            EXPECT_NE(pane(c.index, c.x - 3, c.y + d), yellow) << c.index;
            EXPECT_NE(pane(c.index, c.x + 3, c.y + d), yellow) << c.index;
        }
    }
    // The selected point is green everywhere, whatever its kind (-7 would be pink).
    EXPECT_EQ(top(79, 79), SelectedGreen);
    EXPECT_EQ(front(79, 180), SelectedGreen);
    EXPECT_EQ(side(201, 180), SelectedGreen);
}

TEST_F(OrthoTest, HeadingLinesOnlyInTheTopViewAndOnlyWhenShown) {
    // Heading pi/2 faces +X: ten world units, 20 pixels to the right of the square.
    state.points[0] = testing::point(5.5f, 5.5f, -5.5f, 2, 0, 0, 1, 1.5707964f);
    state.pointUsed[0] = 1;
    const Rgb pink{255, 10, 255};
    renderPanes(state);
    EXPECT_EQ(top(151 + 15, 151), pink);
    EXPECT_EQ(top(151 + 20, 151), pink);
    EXPECT_NE(top(151 + 21, 151), pink);
    EXPECT_NE(front(151 + 15, 129), pink);
    EXPECT_NE(side(129 + 15, 129), pink);

    state.points[0].r = 0.0f; // faces +Z: drawn upwards
    renderPanes(state);
    EXPECT_EQ(top(151, 151 - 15), pink);
    EXPECT_NE(top(151 + 15, 151), pink);

    state.showDirection = 0;
    renderPanes(state);
    EXPECT_NE(top(151, 151 - 15), pink);
    EXPECT_EQ(top(151, 151), pink);
}

TEST_F(OrthoTest, CameraCrossHasTenPixelArmsAtTheDoubledPosition) {
    state.cameraX = 5.25f; // world 10.5
    state.cameraY = 2.75f; // world 5.5
    state.cameraZ = -5.25f;
    renderPanes(state);
    // top (161, 161); front (161, 129); side (119, 129)
    EXPECT_EQ(top(151, 161), Magenta);
    EXPECT_EQ(top(171, 161), Magenta);
    EXPECT_NE(top(172, 161), Magenta);
    EXPECT_EQ(top(161, 151), Magenta);
    EXPECT_EQ(top(161, 171), Magenta);
    EXPECT_NE(top(161, 172), Magenta);
    EXPECT_EQ(front(165, 129), Magenta);
    EXPECT_EQ(side(119, 135), Magenta);

    state.zoom = 0.5f; // the arms stay 10 pixels
    renderPanes(state);
    // top: 10.5 * 0.5 + 140 = 145.25 -> pixel 145
    EXPECT_EQ(top(135, 145), Magenta);
    EXPECT_NE(top(134, 145), Magenta);
    EXPECT_EQ(top(155, 145), Magenta);
}

TEST_F(OrthoTest, SelectionBoxOnlyInSelectModeInItsOwnPaneWhileTheMouseIsThere) {
    state.menuMode = 2;
    state.boxView = 1;
    state.hoverView = 1;
    state.boxStartX = 5.5f; // top (151, ...)
    state.boxStartZ = -5.5f;
    state.cursorX = 25.5f; // top (191, 191)
    state.cursorZ = -25.5f;
    const Rgb outline{0x78, 0x78, 0xFF};
    renderPanes(state);
    EXPECT_EQ(top(191, 171), outline); // right edge: the fill stops short of it
    EXPECT_EQ(top(171, 191), outline);
    // Inside: the fill (alpha 70) over the black: 0x78 * 70 / 255 = 33, 0xFF -> 70.
    EXPECT_TRUE(testing::near(top(175, 175), Rgb{33, 33, 70}, 1));
    EXPECT_EQ(front(175, 175), Black);

    state.hoverView = 2;
    renderPanes(state);
    EXPECT_EQ(top(175, 175), Black);

    state.hoverView = 1;
    state.menuMode = 3;
    renderPanes(state);
    EXPECT_EQ(top(175, 175), Black);

    state.menuMode = 2;
    state.boxView = 2;
    state.hoverView = 2;
    renderPanes(state);
    EXPECT_EQ(top(175, 175), Black);
    // In the front view the box spans the cursor's and the start's y (both 0).
    EXPECT_EQ(front(171, 140), outline);
}

TEST_F(OrthoTest, APaneTurnedOffIsAllBlack) {
    state.blocks[0] = testing::box(-10, -10, -10, 10, 10, 10);
    state.points[0] = testing::point(1, 1, 1, 1);
    state.pointUsed[0] = 1;
    state.showFrontView = 0;
    state.menuMode = 2;
    state.boxView = 2;
    state.hoverView = 2;
    state.cursorX = 20;
    canvas.pixels.fill(0xFF808080);
    renderPanes(state);
    for (int y = 0; y < PaneSize; ++y) {
        for (int x = 0; x < PaneSize; ++x) {
            ASSERT_EQ(front(x, y), Black) << x << "," << y;
        }
    }
    EXPECT_EQ(top(5, 10), (Rgb{130, 0, 0}));
    // Around the panes the canvas is untouched.
    EXPECT_EQ(testing::rgb(canvas.at(9, 315)), (Rgb{128, 128, 128}));
    EXPECT_EQ(testing::rgb(canvas.at(290, 315)), (Rgb{128, 128, 128}));
}

} // namespace
} // namespace tavo
