#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "missioneditor/mission_info.h"

namespace tavo::mission {
namespace {

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

// What a new, empty mission writes for the nine one-line fields.
const std::vector<std::string> EmptyLines = {"", "", "", "", "0", "0", "!", "", "!"};

// A mission using every field, in the order of MissionInfo's members.
const MissionInfo Full{
    "m01", "テスト作戦",    ".\\b.bd1",  ".\\p.pd1", 3,           2,
    true,  ".\\addon\\o.x", ".\\i1.bmp", true,       ".\\i2.bmp", "一行目\n二行目"};

// A briefing line stored with a bare LF reads as any other line and is saved with CR LF. The
// bytes of every field, in both directions, are pinned by loading files and saving them again
// through the dialog (mission_dialog_test), which also reads the optional paths' "!".
TEST(MissionInfoFile, ABareLineFeedInTheBriefingIsALineSavedWithCrLf) {
    const std::string fixed = crlfLines(EmptyLines);
    const MissionInfo bare = readMissionInfo(fixed + "\none\ntwo\r\nthree\n\nfive\n");
    EXPECT_EQ(bare.briefingText, "\none\ntwo\nthree\n\nfive\n");
    EXPECT_EQ(writeMissionInfo(bare).value(), fixed + "\r\none\r\ntwo\r\nthree\r\n\r\nfive\r\n");
}

// Each field takes exactly its limit in CP932 bytes (and later fields stay in place); one byte
// more, or text the file cannot hold, is refused instead of being cut or replaced.
TEST(MissionInfoFile, FieldsTakeExactlyTheirLimitAndTheWriterRefusesMore) {
    // Bytes that are not CP932 read as replacements, which cannot be saved.
    const std::string unreadable = readMissionInfo(crlfLines({"ok", "a\x80\x62\x83"})).fullName;
    EXPECT_EQ(unreadable, "a\uFFFDb\uFFFD");
    using M = MissionInfo;
    using F = Field;
    using P = std::optional<FieldProblem>;
    const std::tuple<std::string M::*, std::string, P> cases[] = {
        {&M::missionName, std::string(31, 'n'), {}},
        {&M::missionName, std::string(30, 'n') + "テ", P{{F::MissionName, Problem::TooLong}}},
        {&M::fullName, std::string(125, 'f') + "テ", {}},
        {&M::blockPath, std::string(127, 'b'), {}},
        {&M::pointPath, std::string(127, 'p'), {}},
        {&M::addonObjectPath, std::string(255, 'o'), {}},
        {&M::image1Path, std::string(255, '1'), {}},
        {&M::image2Path, std::string(255, '2'), {}},
        {&M::briefingText, std::string(398, 'x') + "\n" + std::string(398, 'y'), {}},
        {&M::briefingText, std::string(798, 'x') + "\n", P{{F::BriefingText, Problem::TooLong}}},
        {&M::fullName, unreadable, P{{F::FullName, Problem::NoCp932Form}}},
        {&M::pointPath, "a\r\nb", P{{F::PointPath, Problem::LineEnd}}},
        {&M::addonObjectPath, "!o.x", P{{F::AddonObjectPath, Problem::StartsWithNone}}},
    };
    for (const auto& [member, text, problem] : cases) {
        SCOPED_TRACE(text);
        MissionInfo info = Full;
        info.*member = text;
        const auto written = writeMissionInfo(info);
        EXPECT_EQ(written ? std::nullopt : std::optional(written.error()), problem);
        EXPECT_EQ(written.ok(), !problem.has_value());
        EXPECT_EQ(problem ? info : readMissionInfo(*written), info);
    }
}

TEST(MissionInfoFile, LongerLinesKeepTheirLimitCutBetweenCharacters) {
    const std::string file = crlfLines({std::string(40, 'n'), std::string(126, 'f') + "\x83\x65t",
                                        "b", "p", "1", "1", std::string(300, 'o'), "i", "!"});
    // "テ" would straddle byte 127 of the full name.
    EXPECT_EQ(readMissionInfo(file + std::string(900, 'x')),
              (MissionInfo{std::string(31, 'n'), std::string(126, 'f'), "b", "p", 1, 1, true,
                           std::string(255, 'o'), "i", false, "", std::string(798, 'x')}));

    // Only a lead byte in the last place is left out.
    const std::pair<const char*, std::string> lastBytes[] = {
        {"\x81", ""}, {"\x9F", ""},       {"\xE0", ""},
        {"\xFC", ""}, {"\x80", "\uFFFD"}, {"\xFD", "\uFFFD"}};
    for (const auto& [last, kept] : lastBytes) {
        EXPECT_EQ(readMissionInfo(crlfLines({std::string(30, 'n') + last + "@"})).missionName,
                  std::string(30, 'n') + kept);
    }
    // Double-byte characters throughout, 亜 here: the cut keeps whole ones, 15 of them.
    std::string sixteen, fifteen;
    for (int i = 0; i < 16; ++i) {
        sixteen += "\x88\x9f";
        fifteen += i < 15 ? "亜" : "";
    }
    EXPECT_EQ(readMissionInfo(crlfLines({sixteen})).missionName, fifteen);
    // A briefing cut between CR and LF keeps neither.
    const std::string head = crlfLines(EmptyLines);
    EXPECT_EQ(readMissionInfo(head + std::string(797, 'x') + "\r\nmore").briefingText,
              std::string(797, 'x'));
    EXPECT_EQ(readMissionInfo(head + std::string(796, 'x') + "\nmore").briefingText,
              std::string(796, 'x') + "\n");
}

// A file that ends early leaves the rest as a new mission has it; its last line counts without a
// line end too. (Each field on its own missing is the dialog's load of an empty file.) Numbers
// are read as atoi reads them, after white space and a sign.
TEST(MissionInfoFile, AFileEndingEarlyLeavesTheRestEmpty) {
    EXPECT_EQ(readMissionInfo("m\r\nf\r\nb\r\np\r\n \t9\r\n+3\r\no"),
              (MissionInfo{"m", "f", "b", "p", 9, 3, true, "o", "", false, "", ""}));
    EXPECT_EQ(readMissionInfo("m\r\nf\r\nb\r\np\r\n4"),
              (MissionInfo{"m", "f", "b", "p", 4, 0, false, "", "", false, "", ""}));
    EXPECT_EQ(writeMissionInfo(readMissionInfo("")).value(), crlfLines(EmptyLines));
}

} // namespace
} // namespace tavo::mission
