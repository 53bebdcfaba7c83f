// The four panes read back from the canvas. 3D: face greys, texture modulation, culling, the
// near and far planes, depth order, hostile coordinates and point markers. 2D: grid, axes, block
// outlines, point squares, headings, the camera cross, the selection box, panes turned off.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

#include "gl_fixture.h"
#include "pointeditor/view/point_markers.h"
#include "pointeditor/view/render_panes.h"
#include "tests/support/scene_builders.h"

namespace tavo {
namespace {

using testing::grey;
using testing::Rgb;

constexpr float Pi = 3.14159265f;

class Render3dTest : public testing::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        state.blocks[0] = testing::box(-10, -10, -10, 10, 10, 10);
        camera(0, 0, -40, Pi / 2, Pi / 2); // looking along +Z at the -Z face
    }
    // Puts the eye at world (x, y, z) looking along yaw and pitch.
    void camera(float x, float y, float z, float yaw, float pitch) {
        // The view draws at half size.
        std::tie(state.cameraX, state.cameraY, state.cameraZ, state.cameraYaw, state.cameraPitch) =
            std::tuple(x / 2, y / 2, z / 2, yaw, pitch);
    }
    Rgb view(int x = 140, int y = 140) {
        renderPanes(state, frame());
        return pixel(paneOrigin(PerspectivePane), x, y);
    }
    void solidTexture(int slot, uint32_t argb) {
        auto& texture = state.textures[static_cast<std::size_t>(slot)];
        texture = device->loadTexture(
            file("solid.png", testing::encode(testing::TestImage::filled(8, 8, argb), "PNG")));
        ASSERT_NE(texture, nullptr);
    }
};

TEST_F(Render3dTest, FacesShowTheGreyOfTheirOutwardNormal) {
    const float down = 3.1241386f, up = 0.017453289f; // 179 and 1 degrees, as far as it turns
    // face, eye x, y, z, yaw, pitch, grey
    const std::tuple<const char*, float, float, float, float, float, int> cases[] = {
        {"+Y", 0, 40, 0, 0, down, 233},         {"-Y", 0, -40, 0, 0, up, 152},
        {"+X", 40, 0, 0, Pi, Pi / 2, 171},      {"-X", -40, 0, 0, 0, Pi / 2, 214},
        {"+Z", 0, 0, 40, -Pi / 2, Pi / 2, 186}, {"-Z", 0, 0, -40, Pi / 2, Pi / 2, 199},
    };
    for (auto [face, x, y, z, yaw, pitch, faceGrey] : cases) {
        SCOPED_TRACE(face);
        camera(x, y, z, yaw, pitch);
        EXPECT_EQ(view(), grey(faceGrey));
    }
}

TEST_F(Render3dTest, TexturesAreModulatedByTheGreyAndFacesSeenCounterClockwiseAreCulled) {
    solidTexture(0, 0xFFC86432); // (200, 100, 50)
    const Rgb modulated{200 * 199 / 255, 100 * 199 / 255, 50 * 199 / 255};
    state.blocks[0].textureId[testing::FaceMinusZ] = 0;
    EXPECT_TRUE(testing::near(view(), modulated, 1));
    for (int slot : {10, -2147483647 - 1}) { // outside the ten slots: untextured
        state.blocks[0].textureId[testing::FaceMinusZ] = slot;
        EXPECT_EQ(view(), grey(199)) << slot;
    }
    // Mirrored in x, every face runs the other way: the near face is culled and the far face is
    // seen from inside, facing the eye.
    state.blocks[0] = testing::box(10, -10, -10, -10, 10, 10);
    state.blocks[0].textureId[testing::FacePlusZ] = 0;
    EXPECT_TRUE(testing::near(view(), modulated, 1));
}

TEST_F(Render3dTest, GeometryBeyondTheNearAndFarPlanesIsClipped) {
    camera(0, 0, 0, Pi / 2, Pi / 2); // planes at 1 and 480 world units
    for (auto [z, shown] :
         {std::pair{1.2f, true}, {0.8f, false}, {470.0f, true}, {490.0f, false}}) {
        state.blocks[0] = testing::box(-400, -400, z, 400, 400, z + 1000);
        EXPECT_EQ(view(), shown ? grey(199) : grey(0)) << z;
    }
}

TEST_F(Render3dTest, TheNearerBlockHidesTheFartherWhicheverIsDrawnFirst) {
    solidTexture(2, 0xFFFF0000);
    BlockRecord nearBlock = testing::box(-5, -5, -5, 5, 5, 5);
    BlockRecord farBlock = testing::box(-20, -20, 20, 20, 20, 30);
    farBlock.textureId[testing::FaceMinusZ] = 2;
    for (bool farFirst : {true, false}) {
        state.blocks[0] = farFirst ? farBlock : nearBlock;
        state.blocks[1] = farFirst ? nearBlock : farBlock;
        EXPECT_EQ(view(), grey(199)) << farFirst;
        EXPECT_TRUE(testing::near(view(140, 100), Rgb{199, 0, 0}, 1)) << farFirst;
    }
}

TEST_F(Render3dTest, CornersAndPointsFarOutOrNotNumbersDrawNothingOfThemselves) {
    // Regression: hostile coordinates reached undefined conversions (run under the sanitizers).
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    state.blocks[1] = testing::box(-1e30f, -1e30f, 5e29f, 1e30f, 1e30f, 1e30f);
    state.blocks[2] = testing::box(nan, 0, 0, 10, 10, 10);
    state.blocks[3] = testing::box(-inf, -10, -10, 10, 10, 10);
    state.pointTable.points[0] = testing::point(nan, inf, -inf, 3, 0, 2, 1);
    state.pointTable.points[1] = testing::point(1e38f, -1e38f, 1e38f, 3, 0, 1, 2);
    state.pointTable.pointUsed[0] = state.pointTable.pointUsed[1] = SlotUsed;
    EXPECT_EQ(view(), grey(199)); // the sound block 0 behind them all
    EXPECT_EQ(pixel(paneOrigin(TopPane), 5, 10), (Rgb{130, 0, 0}));
}

TEST_F(Render3dTest, PointMarkersAreCrossesInTheKindColourOrGreenWhenSelected) {
    state.blocks[0].inUse = 0;
    state.zoom = 10.0f; // arms of 0.7 world units
    state.pointTable.points[0] = testing::point(0, 0, 0, 1);
    for (auto [used, colour] : {std::pair{SlotUsed, Rgb{255, 128, 0}},
                                {SlotSelected, Rgb{0, 255, 0}},
                                {SlotFree, grey(0)}}) {
        state.pointTable.pointUsed[0] = used;
        // The centre, then each arm on its own beside it: left and right, above and below.
        for (auto [x, y] : {std::pair{140, 140}, {138, 140}, {142, 140}, {140, 138}, {140, 142}}) {
            EXPECT_EQ(view(x, y), colour) << used << " at " << x << "," << y;
        }
    }
}

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};
constexpr Rgb Magenta{255, 0, 255};
constexpr Rgb Pink{255, 10, 255};
constexpr Rgb Yellow{255, 255, 0};

class OrthoTest : public testing::GlTest {
protected:
    Rgb at(int pane, int x, int y) const { return pixel(paneOrigin(pane), x, y); }
    // Where `colour` is along row `y` of a pane, or along its column when `column` is set.
    std::vector<int> along(int pane, int y, Rgb colour, bool column = false) const {
        std::vector<int> found;
        std::ranges::copy_if(span(0, PaneSize - 1), std::back_inserter(found), [&](int i) {
            return at(pane, column ? y : i, column ? i : y) == colour;
        });
        return found;
    }
    // first, first + 1, ..., last; none when last < first.
    static std::vector<int> span(int first, int last) {
        std::vector<int> all(static_cast<std::size_t>(std::max(0, last + 1 - first)));
        std::iota(all.begin(), all.end(), first);
        return all;
    }
};

TEST_F(OrthoTest, GridEveryTenPixelsBrighterEveryFiftyAndAxesOfFiftyWorldUnits) {
    renderPanes(state, frame());
    for (int i = 0; i < 28; ++i) { // away from the crossings, the axes and the other lines
        Rgb line{(i + 1) % 5 == 0 ? 240 : 130, 0, 0};
        EXPECT_EQ(at(TopPane, 5, 10 * i), line) << i;
        EXPECT_EQ(at(FrontPane, 10 * i, 275), line) << i;
        EXPECT_EQ(at(SidePane, 275, 10 * i), line) << i;
    }
    EXPECT_EQ((std::vector{at(TopPane, 5, 5), at(TopPane, 5, 279), at(TopPane, 279, 5)}),
              std::vector(3, Black));
    for (int pane : {TopPane, FrontPane, SidePane}) {
        // At zoom 2 the axes run along row and column 140 from 40 to 240.
        for (int p : {39, 40, 41, 203, 240, 241}) {
            int green = p == 39 || p == 241 ? 0 : 200;
            EXPECT_EQ(at(pane, p, 140).g, green) << pane << " " << p;
            EXPECT_EQ(at(pane, 140, p).g, green) << pane << " " << p;
        }
        // Green at alpha 200 over the bright grid line of row 140: red keeps 55/255 of 240.
        EXPECT_TRUE(testing::near(at(pane, 77, 140), Rgb{52, 200, 0}, 1)) << pane;
    }
    state.zoom = 1.0f;
    renderPanes(state, frame());
    EXPECT_EQ((std::vector{at(TopPane, 89, 140).g, at(TopPane, 90, 140).g, at(TopPane, 190, 140).g,
                           at(TopPane, 191, 140).g}),
              (std::vector{0, 200, 200, 0}));
}

TEST_F(OrthoTest, BlockEdgesLandOnTheMappedPixelsOfEachPane) {
    // x 11..31, y 3..13, z -21..-11 world units; panned so the pictures move off the axes.
    state.blocks[7] = testing::box(11, 3, -21, 31, 13, -11);
    // Centred at world x 2, y 1 (stored negated) and z -1.5.
    std::tie(state.panX, state.panY, state.panZ) = std::tuple(2.0f, -1.0f, 1.5f);
    renderPanes(state, frame());
    // top: px = (x - 2) * 2 + 140, py = (-z - 1.5) * 2 + 140
    // front: py = (-y + 1) * 2 + 140; side: px = (z + 1.5) * 2 + 140
    // pane, left, top, right, bottom
    const std::array<int, 5> rects[] = {{TopPane, 158, 159, 198, 179},
                                        {FrontPane, 158, 116, 198, 136},
                                        {SidePane, 101, 116, 121, 136}};
    for (auto [pane, left, top, right, bottom] : rects) {
        SCOPED_TRACE(pane);
        // Two edges across the middle, and the top and bottom edges whole from corner to corner.
        EXPECT_EQ(along(pane, (top + bottom) / 2 + 1, White), (std::vector{left, right}));
        EXPECT_EQ(along(pane, (left + right) / 2 + 1, White, true), (std::vector{top, bottom}));
        EXPECT_EQ(along(pane, top, White), span(left, right));
        EXPECT_EQ(along(pane, bottom, White), span(left, right));
    }
}

TEST_F(OrthoTest, PointSquaresCoverFivePixelsInTheirColourAndTheSelectedOneIsGreen) {
    state.showDirection = 0;
    state.pointTable.points[3] = testing::point(5.5f, 7, -9.5f, -128);   // yellow
    state.pointTable.points[4] = testing::point(-30.5f, -20, 30.5f, -7); // would be pink
    state.pointTable.pointUsed[3] = SlotUsed;
    state.pointTable.pointUsed[4] = SlotSelected;
    renderPanes(state, frame());
    // Each square's centre: pane, x, y.
    using Spot = std::array<int, 3>;
    for (auto [pane, x, y] :
         {Spot{TopPane, 151, 159}, {FrontPane, 151, 126}, {SidePane, 121, 126}}) {
        for (int row = y - 3; row <= y + 3; ++row) {
            const bool inside = row > y - 3 && row < y + 3;
            EXPECT_EQ(along(pane, row, Yellow), inside ? span(x - 2, x + 2) : span(0, -1))
                << pane << " row " << row;
        }
    }
    for (auto [pane, x, y] : {Spot{TopPane, 79, 79}, {FrontPane, 79, 180}, {SidePane, 201, 180}}) {
        EXPECT_EQ(at(pane, x, y), (Rgb{0, 255, 0})) << pane;
    }
}

TEST(PointColour, PaletteByAbsoluteKindModFive) {
    EditorState state;
    state.pointTable.pointUsed[0] = SlotUsed;
    for (auto [kind, colour] :
         {std::pair{0, 0xFF323CFFu}, {5, 0xFF323CFFu}, {-7, 0xFFFF0AFFu}, {4, 0xFF50A0FFu}}) {
        state.pointTable.points[0].p1 = static_cast<int8_t>(kind);
        EXPECT_EQ(pointColour(state, 0), colour) << kind;
    }
}

TEST_F(OrthoTest, HeadingLinesOnlyInTheTopPaneAndOnlyWhenShown) {
    // Heading pi/2 faces +X: ten world units, 20 pixels to the right of the square's centre.
    state.pointTable.points[0] = testing::point(5.5f, 5.5f, -5.5f, 2, 0, 0, 1, 1.5707964f);
    state.pointTable.pointUsed[0] = SlotUsed;
    renderPanes(state, frame());
    EXPECT_EQ((std::vector{along(TopPane, 151, Pink), along(FrontPane, 129, Pink),
                           along(SidePane, 129, Pink)}),
              (std::vector{span(149, 171), span(149, 153), span(127, 131)}));
    state.showDirection = 0;
    renderPanes(state, frame());
    EXPECT_EQ(along(TopPane, 151, Pink), span(149, 153));
}

TEST_F(OrthoTest, CameraCrossHasTenPixelArmsAtTheDoubledPosition) {
    // World (10.5, 5.5, -10.5): top (161, 161), front (161, 129), side (119, 129).
    std::tie(state.cameraX, state.cameraY, state.cameraZ) = std::tuple(5.25f, 2.75f, -5.25f);
    renderPanes(state, frame());
    EXPECT_EQ((std::vector{along(TopPane, 161, Magenta), along(TopPane, 161, Magenta, true),
                           along(FrontPane, 129, Magenta), along(SidePane, 119, Magenta, true)}),
              (std::vector{span(151, 171), span(151, 171), span(151, 171), span(119, 139)}));
}

TEST_F(OrthoTest, SelectionBoxOnlyInSelectModeInItsOwnPaneWhileTheMouseIsThere) {
    // From top (151, 151) to the cursor at top (191, 191).
    std::tie(state.boxStartX, state.boxStartZ, state.cursorX, state.cursorZ) =
        std::tuple(5.5f, -5.5f, 25.5f, -25.5f);
    const Rgb outline{0x78, 0x78, 0xFF};
    // menuMode, boxView, hoverView: shown in SELECT POINT while the mouse is in the box's pane
    for (auto [mode, box, hover] : {std::array<int, 3>{MenuSelectPoint, TopPane, TopPane},
                                    {MenuSelectPoint, TopPane, FrontPane},
                                    {MenuMovePoint, TopPane, TopPane},
                                    {MenuSelectPoint, FrontPane, FrontPane}}) {
        SCOPED_TRACE(::testing::Message() << mode << " " << box << " " << hover);
        state.menuMode = mode;
        state.boxView = box;
        state.hoverView = hover;
        renderPanes(state, frame());
        const bool shown = mode == MenuSelectPoint && box == hover, top = shown && box == TopPane;
        // The outline on two sides, where the fill stops short; the fill (alpha 70) over black:
        // 0x78 * 70 / 255 = 33, 0xFF -> 70. In the front view the box spans the cursor's and the
        // start's y (both 0).
        EXPECT_EQ(std::tuple(at(TopPane, 191, 171) == outline, at(TopPane, 171, 191) == outline,
                             bool(testing::near(at(TopPane, 175, 175), Rgb{33, 33, 70}, 1)),
                             at(FrontPane, 175, 175), at(FrontPane, 171, 140) == outline),
                  std::tuple(top, top, top, Black, shown && box == FrontPane));
    }
}

TEST_F(OrthoTest, APaneTurnedOffIsAllBlack) {
    state.blocks[0] = testing::box(-10, -10, -10, 10, 10, 10);
    state.pointTable.points[0] = testing::point(1, 1, 1, 1);
    state.pointTable.pointUsed[0] = SlotUsed;
    std::tie(state.showFrontView, state.menuMode, state.boxView, state.hoverView, state.cursorX) =
        std::tuple(0, MenuSelectPoint, FrontPane, FrontPane, 20.0f);
    canvas.pixels.fill(0xFF808080);
    renderPanes(state, frame());
    for (int y = 0; y < PaneSize; ++y) {
        ASSERT_EQ(along(FrontPane, y, Black), span(0, PaneSize - 1)) << y;
    }
    EXPECT_EQ(at(TopPane, 5, 10), (Rgb{130, 0, 0}));
    // Around the panes the canvas is untouched.
    EXPECT_EQ(std::tuple(pixel({9, 315}, 0, 0), pixel({290, 315}, 0, 0)),
              std::tuple(grey(128), grey(128)));
}

} // namespace
} // namespace tavo
