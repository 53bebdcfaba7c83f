// The 3D pane read back from the canvas: face greys, texture modulation, culling, the near and
// far planes, depth order, the markers and faces whose texture slot is out of range.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "gl_fixture.h"
#include "image_files.h"
#include "pointeditor/view/pane_layout.h"
#include "pointeditor/view/render_panes.h"
#include "scene_builders.h"

namespace tavo {
namespace {

using testing::box;
using testing::Rgb;

constexpr float Pi = 3.14159265f;
constexpr float StraightDown = 3.1241386f; // 179 degrees, as far as the editor turns
constexpr float StraightUp = 0.017453289f;

class Render3dTest : public testing::GlTest {
  protected:
    void TearDown() override {
        GlTest::TearDown();
        if (!dir.empty()) {
            std::filesystem::remove_all(dir);
        }
    }

    // Puts the eye at world (x, y, z) looking along yaw and pitch.
    void camera(float x, float y, float z, float yaw, float pitch) {
        state.cameraX = x / 2;
        state.cameraY = y / 2;
        state.cameraZ = z / 2;
        state.cameraYaw = yaw;
        state.cameraPitch = pitch;
    }
    Rgb view(int x, int y) const {
        return pixel(PerspectivePaneOrigin.left, PerspectivePaneOrigin.top, x, y);
    }
    Rgb centre() const { return view(140, 140); }

    void solidTexture(int slot, uint32_t argb) {
        if (dir.empty()) {
            dir = testing::makeTempDir();
        }
        std::string path = dir + "/slot" + std::to_string(slot) + ".png";
        testing::writeFile(path, testing::encodePng(testing::TestImage::filled(8, 8, argb)));
        state.textures[static_cast<std::size_t>(slot)] = device->loadTexture(path);
        ASSERT_NE(state.textures[static_cast<std::size_t>(slot)], nullptr);
    }

    std::string dir;
};

TEST_F(Render3dTest, FacesShowTheGreyOfTheirOutwardNormal) {
    state.blocks[0] = box(-10, -10, -10, 10, 10, 10);
    struct Case {
        float x, y, z, yaw, pitch;
        int grey;
    };
    const Case cases[] = {
        {0, 40, 0, 0, StraightDown, 233}, {0, -40, 0, 0, StraightUp, 152},
        {40, 0, 0, Pi, Pi / 2, 171},      {-40, 0, 0, 0, Pi / 2, 214},
        {0, 0, 40, -Pi / 2, Pi / 2, 186}, {0, 0, -40, Pi / 2, Pi / 2, 199},
    };
    for (const Case& c : cases) {
        camera(c.x, c.y, c.z, c.yaw, c.pitch);
        renderPanes(state);
        EXPECT_EQ(centre(), (Rgb{c.grey, c.grey, c.grey})) << c.x << "," << c.y << "," << c.z;
    }
}

TEST_F(Render3dTest, TextureIsModulatedByTheFaceGrey) {
    solidTexture(3, 0xFFC86432); // (200, 100, 50)
    state.blocks[0] = box(-10, -10, -10, 10, 10, 10);
    state.blocks[0].textureId[testing::FaceMinusZ] = 3;
    camera(0, 0, -40, Pi / 2, Pi / 2);
    renderPanes(state);
    EXPECT_TRUE(testing::near(centre(), Rgb{200 * 199 / 255, 100 * 199 / 255, 50 * 199 / 255}, 1));
}

TEST_F(Render3dTest, ATextureSlotOutsideTheTenDrawsUntextured) {
    solidTexture(0, 0xFFFF0000);
    state.blocks[0] = box(-10, -10, -10, 10, 10, 10);
    state.blocks[0].textureId[testing::FaceMinusZ] = 10;
    state.blocks[0].textureId[testing::FacePlusX] = -2147483647 - 1;
    camera(0, 0, -40, Pi / 2, Pi / 2);
    renderPanes(state);
    EXPECT_EQ(centre(), (Rgb{199, 199, 199}));
    camera(40, 0, 0, Pi, Pi / 2);
    renderPanes(state);
    EXPECT_EQ(centre(), (Rgb{171, 171, 171}));
}

TEST_F(Render3dTest, AFaceSeenFromItsCounterClockwiseSideIsCulled) {
    solidTexture(1, 0xFF0000FF);
    // Mirrored in x, every face runs the other way: from -Z the near face is culled and the far
    // face (textured blue) is seen from inside.
    BlockRecord inverted = box(10, -10, -10, -10, 10, 10);
    inverted.textureId[testing::FacePlusZ] = 1;
    state.blocks[0] = inverted;
    camera(0, 0, -40, Pi / 2, Pi / 2);
    renderPanes(state);
    Rgb seen = centre();
    EXPECT_EQ(seen.r, 0);
    EXPECT_GT(seen.b, 100);

    state.blocks[0] = box(-10, -10, -10, 10, 10, 10);
    state.blocks[0].textureId[testing::FacePlusZ] = 1;
    renderPanes(state);
    EXPECT_EQ(centre(), (Rgb{199, 199, 199}));
}

TEST_F(Render3dTest, GeometryBeyondTheNearAndFarPlanesIsClipped) {
    // The eye at the origin looks along +Z; planes at 1 and 480 world units.
    camera(0, 0, 0, Pi / 2, Pi / 2);
    auto wallAt = [&](float z) {
        state.blocks[0] = box(-400, -400, z, 400, 400, z + 1000);
        renderPanes(state);
        return centre();
    };
    EXPECT_EQ(wallAt(1.2f), (Rgb{199, 199, 199}));
    EXPECT_EQ(wallAt(0.8f), (Rgb{0, 0, 0}));
    EXPECT_EQ(wallAt(470), (Rgb{199, 199, 199}));
    EXPECT_EQ(wallAt(490), (Rgb{0, 0, 0}));
}

TEST_F(Render3dTest, TheNearerBlockHidesTheFartherWhicheverIsDrawnFirst) {
    solidTexture(2, 0xFFFF0000);
    BlockRecord nearBlock = box(-5, -5, -5, 5, 5, 5);
    BlockRecord farBlock = box(-20, -20, 20, 20, 20, 30);
    farBlock.textureId[testing::FaceMinusZ] = 2;
    camera(0, 0, -40, Pi / 2, Pi / 2);
    for (bool farFirst : {true, false}) {
        state.blocks[0] = farFirst ? farBlock : nearBlock;
        state.blocks[1] = farFirst ? nearBlock : farBlock;
        renderPanes(state);
        EXPECT_EQ(centre(), (Rgb{199, 199, 199})) << farFirst;
        EXPECT_TRUE(testing::near(view(140, 100), Rgb{199, 0, 0}, 1)) << farFirst;
    }
}

TEST_F(Render3dTest, CornersAndPointsFarOutOrNotNumbersDrawNothingOfThemselves) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    state.blocks[0] = box(-1e30f, -1e30f, 5e29f, 1e30f, 1e30f, 1e30f);
    state.blocks[1] = box(nan, 0, 0, 10, 10, 10);
    state.blocks[2] = box(-inf, -10, -10, 10, 10, 10);
    state.blocks[3] = box(-10, -10, -10, 10, 10, 10); // a sound block behind them all
    state.points[0] = testing::point(nan, inf, -inf, 3, 0, 2, 1);
    state.points[1] = testing::point(1e38f, -1e38f, 1e38f, 3, 0, 1, 2);
    state.pointUsed[0] = state.pointUsed[1] = 1;
    camera(0, 0, -40, Pi / 2, Pi / 2);
    renderPanes(state);
    EXPECT_EQ(centre(), (Rgb{199, 199, 199}));
    EXPECT_EQ(pixel(TopPaneOrigin.left, TopPaneOrigin.top, 5, 10), (Rgb{130, 0, 0}));
}

TEST_F(Render3dTest, PointMarkersAreCrossesInTheKindColour) {
    camera(0, 0, -40, Pi / 2, Pi / 2);
    state.zoom = 10.0f; // arms of 0.7 world units
    state.points[0] = testing::point(0, 0, 0, 1);
    state.pointUsed[0] = 1;
    renderPanes(state);
    EXPECT_EQ(centre(), (Rgb{0xFF, 0x80, 0x00}));
    state.pointUsed[0] = 2;
    renderPanes(state);
    EXPECT_EQ(centre(), (Rgb{0, 255, 0}));
    state.pointUsed[0] = 0;
    renderPanes(state);
    EXPECT_EQ(centre(), (Rgb{0, 0, 0}));
}

} // namespace
} // namespace tavo
