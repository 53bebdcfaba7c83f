#include <map>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "pointeditor/data/name_tables.h"
#include "pointeditor/display/draw_frame.h"
#include "tests/support/fake_platform.h"

namespace tavo::testing {
namespace {

class DrawFrameTest : public ::testing::Test {
protected:
    EditorState state;
    FakePlatform platform;
    DrawFrameTest() { state.platform = &platform; }

    // The texts of one frame from the `from`th on, each as "x,y text", with its background when
    // that is not the window's grey; the text colour is always the same.
    std::string frame(std::size_t from = 0) {
        const std::map<uint32_t, std::string> backs{
            {0x00C0C0C0, ""}, {0x00AAFAAA, " (on)"}, {0x00C3C3FF, " (active)"}};
        platform.texts.clear();
        drawFrame(state, platform, nullptr);
        std::string shown;
        for (std::size_t i = from; i < platform.texts.size(); ++i) {
            const RecordedText& t = platform.texts[i];
            EXPECT_EQ(t.textColour, 0x00A05050u) << t.text;
            shown += (i > from ? "|" : "") + std::to_string(t.x) + "," + std::to_string(t.y) + " " +
                     t.text + backs.at(t.backColour);
        }
        return shown;
    }
};

TEST_F(DrawFrameTest, InitialFrameInBothLanguages) {
    const std::string blank(24, ' '), toRightEdge(25, ' ');
    // The zoom and parameter lines reach the window's right edge, 50 and 25 cells away.
    const std::string expected =
        "10,5 point editor / version 0.7tavo / by kestrune|400,5 x2.0 (0.0/0.0/0.0)" +
        std::string(50 - 18, ' ') + "|600,310 CURRENT PARAMETER|600,330 [0] [0] [0] [0]" +
        std::string(25 - 15, ' ') +
        "|600,40 ◆ NEW POINT|"
        "600,70 ◆ SELECT POINT|600,100 ◆ MOVE POINT|600,130 ◆ DELETE POINT|600,160 ◆ VIEW|"
        "600,190 ◆ LOAD BLOCK|600,220 ◆ SAVE POINT|600,250 ◆ LOAD POINT|600,280 ◆ -----|"
        "600,360 ▼ GRID LOCK (on)|600,380 ▼ DIRECTION (on)|600,400 ▼ TOP VIEW (on)|"
        "600,420 ▼ FRONT VIEW (on)|600,440 ▼ SIDE VIEW (on)|600,540 " +
        toRightEdge + "|600,480 " + blank + "|600,500 " + blank + "|600,520 " + blank;
    EXPECT_EQ(frame(), expected);
    state.english = 0;
    EXPECT_EQ(frame(), expected);
}

TEST_F(DrawFrameTest, KindAndDetailLinesInBothLanguages) {
    for (int kind : {0, 9, -1, 20, -128}) { // no kind, and then no details
        state.currentParams = {int8_t(kind), 1, 1, 0};
        EXPECT_EQ(frame(22), "") << kind; // after the 22 texts that every frame has
    }
    // Every kind's name, with parameters that name no detail.
    for (int english : {0, 1}) {
        state.english = english;
        for (int kind = 1; kind <= 19; ++kind) {
            state.currentParams = {int8_t(kind), 99, 99, 0};
            const std::string name(*lookupName(pointKindNames, kind, english != 0));
            EXPECT_EQ(frame(22), name.empty() ? "" : "600,480 " + name) << kind;
        }
    }
    // English, kind, parameters 2 and 3, and the kind and detail lines drawn.
    const std::tuple<int, int, int, int, const char*> rows[] = {
        {1, 2, 23, 0, "600,480 WEAPON"}, // no such weapon
        {1, 2, 22, 0, "600,480 WEAPON|620,500 MK23 SD"},
        {1, 7, 1, 4, "600,480 RANDOM WEAPON|620,500 MP5|620,520 GLOCK18S"},
        {1, 3, 1, 0, "600,480 PATH|620,500 RUN"},
        {0, 5, 12, 0, "600,480 小物|620,500 <追加小物>"},
        {1, 4, 41, 0, "600,480 HUMAN INFO|620,500 KOLVE"},
        {0, 4, 41, 0, "600,480 人情報|620,500 コルブ"},
        {0, 9, 1, 1, ""}};
    for (auto [english, kind, second, third, lines] : rows) {
        state.english = english;
        state.currentParams = {int8_t(kind), int8_t(second), int8_t(third), 0};
        EXPECT_EQ(frame(22), lines);
    }
}

} // namespace
} // namespace tavo::testing
