// The parts of the frame that are numbers and call lists rather than pixels: the matrix helpers
// against values worked out by hand, the initial camera, the greys of degenerate faces, the link
// line list, and the frame's call order through a recording device.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "pointeditor/data/d3dx_math.h"
#include "pointeditor/data/editor_state.h"
#include "pointeditor/view/block_faces.h"
#include "pointeditor/view/device/device.h"
#include "pointeditor/view/pane_redraw.h"
#include "pointeditor/view/point_markers.h"
#include "pointeditor/view/render_panes.h"
#include "tests/support/scene_builders.h"

namespace tavo {
namespace {

using Rows = std::array<std::array<float, 4>, 4>;

TEST(D3dxMatrix, MatchesHandComputedValues) {
    // clang-format off
    const std::pair<Matrix, Rows> cases[] = {
        // fovy 90 degrees: cot(45) = 1; aspect 2 halves the x scale; zn 1, zf 11.
        {D3DXMatrixPerspectiveFovLH(1.5707964f, 2.0f, 1.0f, 11.0f),
         {{{0.5f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1.1f, 1}, {0, 0, -1.1f, 0}}}},
        // Eye 5 behind the origin: axes unchanged.
        {D3DXMatrixLookAtLH({0, 0, -5}, {0, 0, 0}, {0, 1, 0}),
         {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 5, 1}}}},
        // Eye at (3, 0, 0) looking towards -x: view z is world -x, view x world +z.
        {D3DXMatrixLookAtLH({3, 0, 0}, {0, 0, 0}, {0, 1, 0}),
         {{{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 3, 1}}}},
        {D3DXMatrixScaling(0.5f, 2.0f, -3.0f),
         {{{0.5f, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, -3, 0}, {0, 0, 0, 1}}}},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& [actual, expected] = cases[i];
        for (int e = 0; e < 16; ++e) { // row e / 4, column e % 4
            EXPECT_NEAR(actual.m[e / 4][e % 4], expected[e / 4][e % 4], 1e-5f)
                << "_" << e / 4 + 1 << e % 4 + 1;
        }
    }
}

TEST(Camera, InitialCameraLooksFromAboveTowardsTheOrigin) {
    const Vector3 d = cameraDirection(EditorState{});
    EXPECT_NEAR(d.x, -0.579f, 0.001f);
    EXPECT_NEAR(d.y, -0.574f, 0.001f);
    EXPECT_NEAR(d.z, 0.579f, 0.001f);
}

int faceGrey(const BlockRecord& block) {
    uint32_t colour = faceColour(block, testing::FacePlusY, lightDirection());
    EXPECT_EQ(colour, 0xFF000000u | (colour & 0xFF) * 0x10101u); // opaque grey
    return static_cast<int>(colour & 0xFF);
}

TEST(FaceShade, DegenerateCornersGiveTheMiddleGreyAndCornersThatAreNotNumbersWhite) {
    // The top face runs over corners 4, 5, 6, 7. Corner 5 halfway between 4 and 6: the first
    // three are on one line, and 5, 6, 7 still give the upward normal.
    BlockRecord block = testing::box(-1, -1, -1, 1, 1, 1);
    block.x[5] = block.z[5] = 0; // corner 4 is (-1, 1, -1), corner 6 (1, 1, 1)
    EXPECT_EQ(faceGrey(block), 233);
    for (int c = 4; c < 8; ++c) { // all four on one line: a zero normal
        block.x[c] = static_cast<float>(c);
        block.z[c] = 0;
    }
    EXPECT_EQ(faceGrey(block), 193);

    block = testing::box(-1, -1, -1, 1, 1, 1); // corner 5 on corner 4: they differ only in z
    block.z[5] = block.z[4];
    EXPECT_EQ(faceGrey(block), 193);
    // Regression: a damaged map's NaN normal was converted to int, an undefined grey.
    block = testing::box(-1, -1, -1, 1, 1, 1);
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        block.x[4] = bad;
        EXPECT_EQ(faceColour(block, testing::FacePlusY, lightDirection()), 0xFFFFFFFFu) << bad;
    }
}

TEST(FaceShade, AngleBetweenClampsTheCosine) {
    Vector3 p{0.6f, 0.8f, 0.0f};
    Vector3 q{0.6000001f, 0.8000001f, 0.0f}; // their dot product rounds past 1
    EXPECT_EQ(angleBetween(p, q), 0.0);
    EXPECT_NEAR(angleBetween(p, {-q.x, -q.y, -q.z}), M_PI, 1e-9);
}

constexpr int Path = 3;
constexpr int RandomPath = 8;
constexpr int Grenade = 6;
constexpr uint32_t Yellow = 0xFFFFFF00, Branch = 0x8CFFFF00, GrenadeGreen = 0x9628FF28;
constexpr uint32_t XGreen = 0xB400FF00;

// A line as the slots it runs from and to (x holds the slot number), and its colour.
using Line = std::tuple<int, int, uint32_t>;
using Lines = std::vector<Line>;

class LinkLinesTest : public ::testing::Test {
protected:
    // A point in `slot` at x = slot, so lines read back as slot pairs; p4 is its id.
    void add(int slot, int kind, int p2, int p3, int id) {
        state.pointTable.points[static_cast<std::size_t>(slot)] =
            testing::point(static_cast<float>(slot), 1, 2, kind, p2, p3, id);
        state.pointTable.pointUsed[static_cast<std::size_t>(slot)] = SlotUsed;
    }
    Lines lines() {
        links = buildLinkLines(state);
        Lines result;
        for (int i = 0; i < links.count; ++i) {
            const LinkLine& l = links.lines[static_cast<std::size_t>(i)];
            result.push_back({static_cast<int>(l.fromX), static_cast<int>(l.toX), l.colour});
        }
        return result;
    }
    EditorState state;
    LinkLines links;
};

TEST_F(LinkLinesTest, EachPassLinksInItsColourAndLooksThroughBranchPoints) {
    // name, the points (slot, kind, p2, p3, id), the lines expected
    const std::tuple<const char*, std::vector<std::array<int, 5>>, Lines> cases[] = {
        // clang-format off
        // A path to a path; a path naming no point draws nothing.
        {"path", {{0, Path, 0, 11, 10}, {1, Path, 0, 99, 11}}, {{0, 1, Yellow}}},
        // A -> B -> C where B is a grenade point: looked through, no line of its own.
        {"grenade", {{2, Path, 0, 11, 10}, {0, Path, Grenade, 12, 11}, {1, Path, 0, 99, 12}},
         {{2, 0, GrenadeGreen}, {2, 1, Yellow}}},
        // R: p3 -> S, p2 -> T, S a grenade point leading to U: R -> S in the grenade colour,
        // R -> T, then through S to U.
        {"random from", {{0, RandomPath, 12, 11, 10}, {1, Path, Grenade, 13, 11},
                         {2, Path, 0, 99, 12}, {3, Path, 0, 99, 13}},
         {{0, 1, GrenadeGreen}, {0, 2, Branch}, {0, 3, Yellow}}},
        // P -> R -> 12 (p3) and 13 (p2): through R its p2 target first, then R's own branches.
        {"random into", {{0, Path, 0, 11, 10}, {1, RandomPath, 13, 12, 11},
                         {2, Path, 0, 99, 12}, {3, Path, 0, 99, 13}},
         {{0, 1, Branch}, {0, 3, Yellow}, {0, 2, Yellow}, {1, 2, Branch}, {1, 3, Branch}}},
        // Event 14: p3 in pass 2, p2 in pass 3; event 17: p3 only; a human -> p3; an
        // empty-handed human naming itself; kind 9 and negative kinds link nothing.
        {"events and humans", {{0, 14, 11, 12, 10}, {1, 17, 12, 12, 11}, {2, 1, 0, 10, 12},
                               {3, 6, 0, 3, 3}, {4, 9, 10, 10, 14}, {5, -14, 10, 10, 15}},
         {{0, 2, 0xFF00FFFF}, {1, 2, 0xFF00FFFF}, {0, 1, 0x80FFFFFF}, {2, 0, 0xA0FFFF00},
          {3, 3, 0xA0FFFF00}}},
        // Several points share id 20: the lowest slot in use is the target.
        {"shared id", {{5, Path, 0, 20, 30}, {7, Path, 0, 99, 20}, {9, Path, 0, 99, 20}},
         {{5, 7, Yellow}}},
        // clang-format on
    };
    for (const auto& [name, points, expected] : cases) {
        SCOPED_TRACE(name);
        state = EditorState{};
        state.pointTable.points[2] =
            testing::point(2, 0, 0, Path, 0, 99, 20); // a free slot: no target
        for (const auto& p : points) {
            add(p[0], p[1], p[2], p[3], p[4]);
        }
        EXPECT_EQ(lines(), expected);
    }
    // Lines run between the points' positions.
    EXPECT_EQ(std::tuple(links.lines[0].fromY, links.lines[0].toZ), std::tuple(1.0f, 2.0f));
}

TEST_F(LinkLinesTest, SpecialIdsGetAFlatGreenX) {
    for (int slot = 0; int id : {0, -100, -110, -120, -101}) { // points 0 to 4
        add(slot++, 2, 0, 0, id);
    }
    links = buildLinkLines(state);
    ASSERT_EQ(links.count, 8); // two lines for each of the four special ids
    // Over point 0 at (0, 1, 2): (8, 10) to (-8, -6), then (-8, 10) to (8, -6), at its height.
    const LinkLine& a = links.lines[0];
    const LinkLine& b = links.lines[1];
    EXPECT_EQ((std::array{a.fromX, a.fromY, a.fromZ, a.toX, a.toZ, b.fromX, b.fromZ, b.toX, b.toZ}),
              (std::array{8.f, 1.f, 10.f, -8.f, -6.f, -8.f, 10.f, 8.f, -6.f}));
    EXPECT_EQ(a.colour, XGreen);
}

TEST_F(LinkLinesTest, TheListStopsAt400AndDropsTheSecondXLine) {
    // P (no successor), R0 -> P twice (2 lines), `hubs` random paths -> R0 (6 lines each: two
    // to R0 and two looked through R0 for each branch), one path -> P (1 line), then a point
    // with the special id 0 at x = 500.
    for (int hubs : {66, 67}) { // 2 + 396 + 1 = 399 lines before the X, or the list is full
        state = EditorState{};
        add(0, Path, 0, 99, 1);
        add(1, RandomPath, 1, 1, 2);
        for (int i = 0; i < hubs; ++i) {
            add(2 + i, RandomPath, 2, 2, 10 + i);
        }
        add(2 + hubs, Path, 0, 1, 90);
        add(3 + hubs, 2, 0, 0, 0);
        state.pointTable.points[static_cast<std::size_t>(hubs) + 3].x = 500;
        Lines all = lines();
        ASSERT_EQ(all.size(), static_cast<std::size_t>(MaxLinkLines));
        // With room for one X line, it is the first of the two.
        EXPECT_EQ(all[399] == (Line{508, 492, XGreen}), hubs == 66)
            << hubs << " " << ::testing::PrintToString(all[399]);
    }
}

using Calls = std::vector<std::string>;

// A Device that draws nothing and writes down every call.
class RecordingDevice : public Device {
public:
    Calls calls;
    int lostPresents = 0; // this many presents report a lost device, then they succeed

    void setRenderState(RenderState s, uint32_t v) override { add("renderState", int(s), v); }
    void setTextureStageState(TextureStageState, uint32_t) override { add("stageState"); }
    void setTransform(TransformType, const Matrix&) override { add("transform"); }
    void setVertexFormat(VertexFormat f) override { add("vertexFormat", int(f)); }
    void setTexture(const Texture*) override { add("texture"); }
    void drawPrimitiveUP(PrimitiveType, int, std::span<const BlockVertex>) override { add("3d"); }
    void drawPrimitiveUP(PrimitiveType, int, std::span<const PaneVertex>) override { add("pane"); }
    void clear(uint32_t, uint32_t, float) override { add("clear"); }
    void beginScene() override { add("begin"); }
    void endScene() override { add("end"); }
    PresentResult present(int left, int top) override {
        add("present", left, top);
        return lostPresents-- > 0 ? PresentResult::DeviceLost : PresentResult::Ok;
    }
    void reset() override { add("reset"); }
    std::unique_ptr<Texture> uploadTexture(const DecodedImage&) override { return nullptr; }

    // The calls from `from` on whose text starts with `prefix`, in order.
    Calls only(const std::string& prefix, std::size_t from = 0) const {
        Calls result;
        std::copy_if(calls.begin() + static_cast<long>(from), calls.end(),
                     std::back_inserter(result),
                     [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
        return result;
    }

private:
    template <typename... Args> void add(const char* name, Args... args) {
        std::ostringstream text;
        text << name;
        ((text << ' ' << args), ...);
        calls.push_back(text.str());
    }
};

TEST(RenderOrder, ALostDeviceIsResetAndTheFrameGoesOnWithTheNextPane) {
    for (int lost : {1, 100}) {
        SCOPED_TRACE(lost);
        RecordingDevice device;
        device.lostPresents = lost;
        EditorState state;
        renderPanes(state, {device});
        // Every pane is still drawn and presented into its place, the 3D pane first.
        EXPECT_EQ(device.only("present"),
                  (Calls{"present 300 25", "present 10 25", "present 10 315", "present 300 315"}));
        EXPECT_EQ(std::tuple(device.only("begin").size(), device.only("clear").size()),
                  std::tuple(4u, 4u));
        EXPECT_GE(device.only("pane").size(), 3u * 56u); // the grids at least
        // Reset right after each lost present, and only then.
        auto first = std::find(device.calls.begin(), device.calls.end(), "present 300 25");
        ASSERT_NE(first, device.calls.end());
        EXPECT_EQ(*++first, "reset");
        EXPECT_EQ(device.only("reset").size(), lost == 1 ? 1u : 4u);
        // The 2D panes set no transform again, only culling off.
        auto after = static_cast<std::size_t>(first - device.calls.begin());
        EXPECT_EQ(device.only("transform", after), Calls{});
        EXPECT_EQ(device.only("renderState", after), (Calls{"renderState 1 1"}));
        // Each kind of pane names its vertices' format before it draws: the 3D pane's are world
        // positions (0x142), before its scene; the 2D panes' pre-transformed ones (0x144).
        EXPECT_EQ(device.only("vertexFormat"), (Calls{"vertexFormat 322", "vertexFormat 324"}));
        EXPECT_LT(std::ranges::find(device.calls, "vertexFormat 322") - device.calls.begin(),
                  std::ranges::find(device.calls, "begin") - device.calls.begin());
    }
}

// A lost present resets the device, which takes its pictures with it: the panes after it in the
// frame are drawn again, those that had not changed as well.
TEST(RenderOrder, AfterALostPresentTheRestOfTheFrameDrawsEveryPane) {
    RecordingDevice device;
    RetainedPanes retained;
    EditorState state;
    renderPanes(state, {device, &retained});
    device.calls.clear();
    device.lostPresents = 1;
    state.cameraYaw += 0.5f; // only the 3D pane changes, and its present is lost
    renderPanes(state, {device, &retained});
    EXPECT_EQ(device.only("present").size(), 4u) << "presents in the frame of the loss";
}

} // namespace
} // namespace tavo
