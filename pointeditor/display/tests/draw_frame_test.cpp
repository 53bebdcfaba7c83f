#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pointeditor/display/draw_frame.h"
#include "tests/support/fake_platform.h"

namespace tavo::testing {
namespace {

constexpr uint32_t kText = 0x00A05050;
constexpr uint32_t kGrey = 0x00C0C0C0;
constexpr uint32_t kActive = 0x00C3C3FF;
constexpr uint32_t kOn = 0x00AAFAAA;
const std::string kBlank(24, ' ');

class DrawFrameTest : public ::testing::Test {
  protected:
    EditorState state;
    FakePlatform platform;

    DrawFrameTest() { state.window = &platform; }

    std::vector<RecordedText> frame() {
        platform.texts.clear();
        drawFrame(state);
        return platform.texts;
    }

    // The last text at (x, y), empty when none, with its background.
    std::pair<std::string, uint32_t> at(int x, int y) {
        std::pair<std::string, uint32_t> found;
        for (const RecordedText& t : platform.texts) {
            if (t.x == x && t.y == y) {
                found = {t.text, t.backColour};
            }
        }
        return found;
    }

    // What the kind line and the two detail lines show at the end of the frame.
    std::vector<std::string> names(int kind, int second, int third) {
        state.currentParams = {int8_t(kind), int8_t(second), int8_t(third), 0};
        frame();
        std::vector<std::string> shown;
        for (auto [x, y] : {std::pair{600, 480}, {600, 500}, {600, 520}}) {
            std::string detail = at(620, y).first;
            shown.push_back(y == 480 ? at(x, y).first : detail.empty() ? at(x, y).first : detail);
        }
        return shown;
    }
};

TEST_F(DrawFrameTest, InitialFrameInBothLanguages) {
    const std::vector<std::tuple<int, int, std::string, uint32_t>> expected = {
        {10, 5, "point editor / version 0.7tavo / by kestrune", kGrey},
        {400, 5, "x2.0 (0.0/0.0/0.0)      ", kGrey},
        {600, 310, "CURRENT PARAMETER", kGrey},
        {600, 330, "[0] [0] [0] [0]  ", kGrey},
        {600, 40, "◆ NEW POINT", kGrey},
        {600, 70, "◆ SELECT POINT", kGrey},
        {600, 100, "◆ MOVE POINT", kGrey},
        {600, 130, "◆ DELETE POINT", kGrey},
        {600, 160, "◆ VIEW", kGrey},
        {600, 190, "◆ LOAD BLOCK", kGrey},
        {600, 220, "◆ SAVE POINT", kGrey},
        {600, 250, "◆ LOAD POINT", kGrey},
        {600, 280, "◆ -----", kGrey},
        {600, 360, "▼ GRID LOCK", kOn},
        {600, 380, "▼ DIRECTION", kOn},
        {600, 400, "▼ TOP VIEW", kOn},
        {600, 420, "▼ FRONT VIEW", kOn},
        {600, 440, "▼ SIDE VIEW", kOn},
        {600, 480, kBlank, kGrey},
        {600, 500, kBlank, kGrey},
        {600, 520, kBlank, kGrey},
    };
    for (int english : {1, 0}) {
        state.english = english;
        std::vector<std::tuple<int, int, std::string, uint32_t>> drawn;
        for (const RecordedText& t : frame()) {
            EXPECT_EQ(t.textColour, kText);
            drawn.emplace_back(t.x, t.y, t.text, t.backColour);
        }
        EXPECT_EQ(drawn, expected) << "english " << english;
    }
    state.window = nullptr; // before the window exists nothing is drawn
    EXPECT_TRUE(frame().empty());
}

TEST_F(DrawFrameTest, NumbersAndMarks) {
    state.zoom = 10.0f;
    state.cursorX = 12.5f;
    state.cursorY = 0.25f; // the exact binary value decides: 0.2
    state.cursorZ = -123.456f;
    state.currentParams = {-128, 127, -1, 45};
    state.menuMode = 9; // never a command: nothing marked
    state.gridLock = 0;
    state.showTopView = 2; // only exactly 1 counts as on
    frame();
    EXPECT_EQ(at(400, 5).first, "x10.0 (12.5/0.2/-123.5)      ");
    EXPECT_EQ(at(600, 330).first, "[-128] [127] [-1] [45]  ");
    EXPECT_EQ(at(600, 280).second, kGrey);
    EXPECT_EQ(at(600, 360).second, kGrey);
    EXPECT_EQ(at(600, 380).second, kOn);
    EXPECT_EQ(at(600, 400).second, kGrey);
    for (int mode = 1; mode <= 8; ++mode) {
        state.menuMode = mode;
        frame();
        for (int n = 1; n <= 9; ++n) {
            EXPECT_EQ(at(600, 40 + 30 * (n - 1)).second, n == mode ? kActive : kGrey);
        }
    }
}

TEST_F(DrawFrameTest, KindAndDetailLines) {
    using Lines = std::vector<std::string>;
    for (int kind : {0, 9, -1, -3, 20, -128}) {
        EXPECT_EQ(names(kind, 1, 1), (Lines{kBlank, kBlank, kBlank})) << kind;
    }
    EXPECT_EQ(names(1, 1, 1), (Lines{"HUMAN", kBlank, kBlank}));
    EXPECT_EQ(names(19, 1, 1), (Lines{"EVENT CHANGE A TEAM", kBlank, kBlank}));
    EXPECT_EQ(names(2, 23, 0), (Lines{"WEAPON", kBlank, kBlank}));
    EXPECT_EQ(names(2, -1, 0), (Lines{"WEAPON", kBlank, kBlank}));
    EXPECT_EQ(names(2, 22, 0), (Lines{"WEAPON", "MK23 SD", kBlank}));
    EXPECT_EQ(names(7, 30, 4), (Lines{"RANDOM WEAPON", kBlank, "GLOCK18S"}));
    EXPECT_EQ(names(7, 13, 1), (Lines{"RANDOM WEAPON", "GRENADE", "MP5"}));
    EXPECT_EQ(names(4, 41, 0), (Lines{"HUMAN INFO", "KOLVE", kBlank}));
    EXPECT_EQ(names(4, 43, 0), (Lines{"HUMAN INFO", kBlank, kBlank}));
    EXPECT_EQ(names(3, 6, 0), (Lines{"PATH", "GRENADE", kBlank}));
    EXPECT_EQ(names(3, 7, 0), (Lines{"PATH", kBlank, kBlank}));
    EXPECT_EQ(names(5, 2, 0), (Lines{"SMALL OBJECT", "PC 2", kBlank}));
    EXPECT_EQ(names(5, 13, 0), (Lines{"SMALL OBJECT", kBlank, kBlank}));
    state.english = 0;
    EXPECT_EQ(names(4, 41, 0), (Lines{"人情報", "コルブ", kBlank}));
    EXPECT_EQ(names(2, 23, 0), (Lines{"武器", kBlank, kBlank}));
    EXPECT_EQ(names(7, 30, 22), (Lines{"ランダム武器", kBlank, "MK23 SD"}));
    EXPECT_EQ(names(3, 6, 0), (Lines{"パス", "手榴弾投げ", kBlank}));
    EXPECT_EQ(names(5, 2, 0), (Lines{"小物", "パソコン 上", kBlank}));
    EXPECT_EQ(names(9, 0, 0), (Lines{kBlank, kBlank, kBlank}));
    for (const RecordedText& t : frame()) {
        EXPECT_TRUE(t.textColour == kText && (t.y < 480 || t.backColour == kGrey));
    }
}

} // namespace
} // namespace tavo::testing
