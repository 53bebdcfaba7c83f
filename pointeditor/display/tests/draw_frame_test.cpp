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

    // The texts drawn at one position, in drawing order.
    std::vector<std::string> textsAt(int x, int y) {
        std::vector<std::string> found;
        for (const RecordedText& t : frame()) {
            if (t.x == x && t.y == y) {
                found.push_back(t.text);
            }
        }
        return found;
    }

    // What each of the three name lines shows at the end of the frame (blank when only the
    // erasing spaces were drawn there).
    struct NameLines {
        std::string kind, first, second;
    };
    NameLines nameLines(int kind, int second, int third) {
        state.currentParams = {static_cast<int8_t>(kind), static_cast<int8_t>(second),
                               static_cast<int8_t>(third), 0};
        NameLines lines{kBlank, kBlank, kBlank};
        bool blanked[3] = {};
        for (const RecordedText& t : frame()) {
            std::string* line = nullptr;
            if (t.x == 600 && t.y == 480) {
                line = &lines.kind;
                blanked[0] = true;
            } else if (t.y == 500 || t.y == 520) {
                line = t.y == 500 ? &lines.first : &lines.second;
                blanked[t.y == 500 ? 1 : 2] |= t.x == 600 && t.text == kBlank;
                EXPECT_TRUE(t.x == 620 || t.text == kBlank) << t.text;
            }
            if (line != nullptr) {
                EXPECT_EQ(t.textColour, kText);
                EXPECT_EQ(t.backColour, kGrey);
                *line = t.text;
            }
        }
        EXPECT_TRUE(blanked[0] && blanked[1] && blanked[2]) << "a name line was not erased";
        return lines;
    }
};

TEST_F(DrawFrameTest, InitialFrameInBothLanguages) {
    const std::vector<RecordedText> expected = {
        {10, 5, "point editor / version 0.7tavo / by kestrune", kText, kGrey},
        {400, 5, "x2.0 (0.0/0.0/0.0)      ", kText, kGrey},
        {600, 310, "CURRENT PARAMETER", kText, kGrey},
        {600, 330, "[0] [0] [0] [0]  ", kText, kGrey},
        {600, 40, "◆ NEW POINT", kText, kGrey},
        {600, 70, "◆ SELECT POINT", kText, kGrey},
        {600, 100, "◆ MOVE POINT", kText, kGrey},
        {600, 130, "◆ DELETE POINT", kText, kGrey},
        {600, 160, "◆ VIEW", kText, kGrey},
        {600, 190, "◆ LOAD BLOCK", kText, kGrey},
        {600, 220, "◆ SAVE POINT", kText, kGrey},
        {600, 250, "◆ LOAD POINT", kText, kGrey},
        {600, 280, "◆ -----", kText, kGrey},
        {600, 360, "▼ GRID LOCK", kText, kOn},
        {600, 380, "▼ DIRECTION", kText, kOn},
        {600, 400, "▼ TOP VIEW", kText, kOn},
        {600, 420, "▼ FRONT VIEW", kText, kOn},
        {600, 440, "▼ SIDE VIEW", kText, kOn},
        {600, 480, kBlank, kText, kGrey},
        {600, 500, kBlank, kText, kGrey},
        {600, 520, kBlank, kText, kGrey},
    };
    for (int english : {1, 0}) {
        state.english = english;
        const std::vector<RecordedText> texts = frame();
        ASSERT_EQ(texts.size(), expected.size()) << "english " << english;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].x, expected[i].x) << i;
            EXPECT_EQ(texts[i].y, expected[i].y) << i;
            EXPECT_EQ(texts[i].text, expected[i].text) << i;
            EXPECT_EQ(texts[i].textColour, expected[i].textColour) << i;
            EXPECT_EQ(texts[i].backColour, expected[i].backColour) << i;
        }
    }
}

TEST_F(DrawFrameTest, StatusAndParameterLinesFormatTheirNumbers) {
    state.zoom = 10.0f;
    state.cursorX = 12.5f;
    state.cursorY = -0.04f;
    state.cursorZ = -123.456f;
    state.currentParams = {-128, 127, -1, 45};
    EXPECT_EQ(textsAt(400, 5), std::vector<std::string>{"x10.0 (12.5/-0.0/-123.5)      "});
    EXPECT_EQ(textsAt(600, 330), std::vector<std::string>{"[-128] [127] [-1] [45]  "});
    state.zoom = 0.1f;
    state.cursorX = 0.25f; // the exact binary value decides: 0.2
    state.cursorY = 0.15f; // just above 0.15 as a float: 0.2
    state.cursorZ = 3.0f;
    EXPECT_EQ(textsAt(400, 5), std::vector<std::string>{"x0.1 (0.2/0.2/3.0)      "});
}

TEST_F(DrawFrameTest, TheActiveCommandAndTheTogglesThatAreExactlyOneAreMarked) {
    for (int mode = 0; mode <= 9; ++mode) {
        state.menuMode = mode;
        for (const RecordedText& t : frame()) {
            if (t.x == 600 && t.y >= 40 && t.y <= 280) {
                int entry = (t.y - 40) / 30 + 1;
                EXPECT_EQ(t.backColour, entry == mode && mode <= 8 ? kActive : kGrey)
                    << "mode " << mode << " entry " << entry;
            }
        }
    }
    state.gridLock = 0;
    state.showTopView = 2;
    state.showSideView = -1;
    std::vector<uint32_t> backs;
    for (const RecordedText& t : frame()) {
        if (t.x == 600 && t.y >= 360 && t.y <= 440) {
            backs.push_back(t.backColour);
        }
    }
    EXPECT_EQ(backs, (std::vector<uint32_t>{kGrey, kOn, kGrey, kOn, kGrey}));
}

TEST_F(DrawFrameTest, KindsWithoutANameLeaveOnlyTheBlankLines) {
    for (int kind : {0, 9, -1, -3, 20, 127, -128}) {
        NameLines lines = nameLines(kind, 1, 1);
        EXPECT_EQ(lines.kind, kBlank) << kind;
        EXPECT_EQ(lines.first, kBlank) << kind;
        EXPECT_EQ(lines.second, kBlank) << kind;
    }
    // Kinds without a detail line.
    for (int kind : {1, 6, 8, 10, 19}) {
        NameLines lines = nameLines(kind, 1, 1);
        EXPECT_NE(lines.kind, kBlank) << kind;
        EXPECT_EQ(lines.first, kBlank) << kind;
        EXPECT_EQ(lines.second, kBlank) << kind;
    }
    EXPECT_EQ(nameLines(19, 0, 0).kind, "EVENT CHANGE A TEAM");
    state.english = 0;
    EXPECT_EQ(nameLines(10, 0, 0).kind, "イベント 任務達成");
}

TEST_F(DrawFrameTest, WeaponNamesShowOnlyForWeaponsInRange) {
    for (int english : {1, 0}) {
        state.english = english;
        const std::string kindName = english ? "WEAPON" : "武器";
        NameLines lines = nameLines(2, 23, 0);
        EXPECT_EQ(lines.kind, kindName);
        EXPECT_EQ(lines.first, kBlank);
        lines = nameLines(2, -1, 0);
        EXPECT_EQ(lines.kind, kindName);
        EXPECT_EQ(lines.first, kBlank);
        EXPECT_EQ(nameLines(2, 22, 0).first, "MK23 SD"); // one language for weapons
        EXPECT_EQ(nameLines(2, 0, 0).first, "NONE");
    }
}

TEST_F(DrawFrameTest, RandomWeaponShowsEachOfItsTwoWeaponsOnItsOwn) {
    NameLines lines = nameLines(7, 30, 4);
    EXPECT_EQ(lines.kind, "RANDOM WEAPON");
    EXPECT_EQ(lines.first, kBlank);
    EXPECT_EQ(lines.second, "GLOCK18S");
    lines = nameLines(7, 13, -5);
    EXPECT_EQ(lines.first, "GRENADE");
    EXPECT_EQ(lines.second, kBlank);
    lines = nameLines(7, 1, 2);
    EXPECT_EQ(lines.first, "MP5");
    EXPECT_EQ(lines.second, "PSG1");
}

TEST_F(DrawFrameTest, DetailLinesFollowTheLanguage) {
    struct Case {
        int kind, second;
        const char* japaneseKind;
        const char* japaneseDetail;
        const char* englishKind;
        const char* englishDetail;
    };
    const Case cases[] = {
        {4, 41, "人情報", "コルブ", "HUMAN INFO", "KOLVE"},
        {4, 0, "人情報", "特殊 黒 A", "HUMAN INFO", "SPECIAL FORCE BLACK A"},
        {3, 6, "パス", "手榴弾投げ", "PATH", "GRENADE"},
        {5, 2, "小物", "パソコン 上", "SMALL OBJECT", "PC 2"},
        {5, 12, "小物", "<追加小物>", "SMALL OBJECT", "<ADD-ON OBJECT>"},
    };
    for (const Case& c : cases) {
        state.english = 0;
        NameLines lines = nameLines(c.kind, c.second, 0);
        EXPECT_EQ(lines.kind, c.japaneseKind);
        EXPECT_EQ(lines.first, c.japaneseDetail);
        state.english = 1;
        lines = nameLines(c.kind, c.second, 0);
        EXPECT_EQ(lines.kind, c.englishKind);
        EXPECT_EQ(lines.first, c.englishDetail);
        EXPECT_EQ(lines.second, kBlank);
    }
    // One past the end of each table, and negative, show nothing.
    for (auto [kind, second] : {std::pair{4, 43}, {3, 7}, {5, 13}, {4, -1}, {3, -100}}) {
        EXPECT_EQ(nameLines(kind, second, 0).first, kBlank) << kind << " " << second;
    }
}

TEST_F(DrawFrameTest, NothingIsDrawnBeforeTheWindowExists) {
    state.window = nullptr;
    drawFrame(state);
    EXPECT_TRUE(platform.texts.empty());
}

} // namespace
} // namespace tavo::testing
