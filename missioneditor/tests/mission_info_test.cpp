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
const std::string Blank = crlfLines({"", "", "", "", "0", "0", "!", "", "!"});

// A mission using every field, in the order of MissionInfo's members.
const MissionInfo Full{
    "m01", "テスト作戦",    ".\\b.bd1",  ".\\p.pd1", 3,           2,
    true,  ".\\addon\\o.x", ".\\i1.bmp", true,       ".\\i2.bmp", "一行目\n二行目"};

// A briefing line stored with a bare LF reads as any other line and is saved with CR LF. The
// bytes of every field, in both directions, are pinned by loading files and saving them again
// through the dialog (mission_dialog_test), which also reads the optional paths' "!".
TEST(MissionInfoFile, ABareLineFeedInTheBriefingIsALineSavedWithCrLf) {
    const MissionInfo bare = readMissionInfo(Blank + "\none\ntwo\r\nthree\n\nfive\n");
    EXPECT_EQ(bare.briefingText, "\none\ntwo\nthree\n\nfive\n");
    EXPECT_EQ(writeMissionInfo(bare).value(), Blank + "\r\none\r\ntwo\r\nthree\r\n\r\nfive\r\n");
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
    // A bare LF at the limit is a line end the cut keeps (a CR LF there: the table below).
    EXPECT_EQ(readMissionInfo(Blank + std::string(796, 'x') + "\nmore").briefingText,
              std::string(796, 'x') + "\n");
}

// The nine lines of a file whose fields are all short and valid, with line `index` replaced
// (index 9 is the briefing), then the briefing.
std::string fileWith(std::size_t index, const std::string& line) {
    std::vector<std::string> lines{"m", "f", "b", "p", "1", "2", "o", "i", "j", "brief"};
    lines[index] = line;
    const std::string briefing = lines.back();
    lines.pop_back();
    return crlfLines(lines) + briefing;
}

// Each text field tells what reading had to do to it, and keeps the bytes it shows, those that
// are not CP932 as they are. Limits get a row exactly at them and one over.
TEST(MissionInfoFile, ReadingTellsPerFieldWhatItCutOrRemovedAndKeepsTheBytes) {
    using F = Field;
    const std::string n30(30, 'n'), n31(31, 'n'), o255(255, 'o'), x797(797, 'x');
    const std::string briefingAtLimit = std::string(398, 'x') + "\r\n" + std::string(398, 'y');
    const struct {
        const char* name;
        std::size_t line;
        std::string text;
        F field;
        FieldRead read; // bytes, sizeInFile, cut, carriageReturns, replaced
    } rows[] = {
        {"name at its limit", 0, n31, F::MissionName, {n31}},
        {"name one over", 0, n31 + "n", F::MissionName, {n31, 32, true}},
        {"cut between characters", 0, n30 + "\x83\x65", F::MissionName, {n30, 32, true}},
        {"CR inside", 1, "a\rb", F::FullName, {"ab", 0, false, 1}},
        {"CRs before the line end", 3, "ab\r\r", F::PointPath, {"ab", 0, false, 2}},
        {"not CP932", 2, "a\x80\x62\xFD", F::BlockPath, {"a\x80\x62\xFD", 0, false, 0, 2}},
        {"add-on over", 6, o255 + "o", F::AddonObjectPath, {o255, 256, true}},
        {"add-on none", 6, "!", F::AddonObjectPath, {}},
        // Present, as the game reads it; SAVE then refuses the "!" until the path is mended.
        {"add-on CR before !", 6, "\r!x", F::AddonObjectPath, {"!x", 0, false, 1}},
        {"image 1 CR", 7, "\ri", F::Image1Path, {"i", 0, false, 1}},
        {"image 2 not CP932", 8, "\xA0", F::Image2Path, {"\xA0", 0, false, 0, 1}},
        {"briefing at its limit", 9, briefingAtLimit, F::BriefingText, {briefingAtLimit}},
        {"briefing one over", 9, x797 + "xx", F::BriefingText, {x797 + "x", 799, true}},
        {"briefing cut inside CR LF", 9, x797 + "\r\nmore", F::BriefingText, {x797, 803, true}},
        {"briefing bare LF", 9, "a\nb", F::BriefingText, {"a\r\nb"}},
        {"briefing lone CRs", 9, "\ra\rb\r", F::BriefingText, {"ab", 0, false, 3}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const MissionRead read = readMissionFile(fileWith(row.line, row.text));
        EXPECT_EQ(read.field(row.field), row.read) << read.field(row.field).bytes;
        EXPECT_EQ(read.changed(), row.read.changed());
    }
}

// Against the file every row starts from: two fields show the same text ("a" and U+FFFD) from
// different bytes, the add-on path and the briefing hold bytes that are not CP932.
TEST(MissionInfoFile, AFieldShowingWhatWasReadIsWrittenWithItsOwnBytes) {
    // The file with the full name, the block path, the add-on path and the briefing given.
    const auto with = [](const char* full, const char* block, const char* addon,
                         const char* brief) {
        return crlfLines({"m", full, block, "p", "1", "2", addon, "i", "!"}) + brief;
    };
    const std::string file = with("a\x80", "a\xFD", "o\xFD", "x\x80\r\ny");
    const MissionRead read = readMissionFile(file);
    ASSERT_EQ(read.info.fullName, read.info.blockPath);
    using Edit = void (*)(MissionInfo&);
    const struct {
        const char* name;
        Edit edit;
        std::string written; // the file after the edit; empty when refused
    } rows[] = {
        {"nothing edited", [](MissionInfo&) {}, file},
        {"full name edited", [](MissionInfo& i) { i.fullName = "g"; },
         with("g", "a\xFD", "o\xFD", "x\x80\r\ny")},
        {"block path edited", [](MissionInfo& i) { i.blockPath = "c"; },
         with("a\x80", "c", "o\xFD", "x\x80\r\ny")},
        {"add-on off", [](MissionInfo& i) { i.hasAddonObject = false; },
         with("a\x80", "a\xFD", "!", "x\x80\r\ny")},
        {"briefing edited", [](MissionInfo& i) { i.briefingText = "z\nw"; },
         with("a\x80", "a\xFD", "o\xFD", "z\r\nw")},
        {"replacement typed anew", [](MissionInfo& i) { i.fullName += "b"; }, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        MissionInfo info = read.info;
        row.edit(info);
        const auto written = writeMissionInfo(info, &read);
        EXPECT_EQ(written ? *written : std::string(), row.written);
    }
    // A cut field not edited is written as it was shown: cut, which the load told.
    const MissionRead over = readMissionFile(fileWith(0, std::string(40, 'n')));
    EXPECT_EQ(writeMissionInfo(over.info, &over).value(), fileWith(0, std::string(31, 'n')));
}

// A file that ends early leaves the rest as a new mission has it; its last line counts without a
// line end too. (Each field on its own missing is the dialog's load of an empty file.) Numbers
// are read as atoi reads them, after white space and a sign.
TEST(MissionInfoFile, AFileEndingEarlyLeavesTheRestEmpty) {
    EXPECT_EQ(readMissionInfo("m\r\nf\r\nb\r\np\r\n \t9\r\n+3\r\no"),
              (MissionInfo{"m", "f", "b", "p", 9, 3, true, "o", "", false, "", ""}));
    EXPECT_EQ(readMissionInfo("m\r\nf\r\nb\r\np\r\n4"),
              (MissionInfo{"m", "f", "b", "p", 4, 0, false, "", "", false, "", ""}));
    EXPECT_EQ(writeMissionInfo(readMissionInfo("")).value(), Blank);
}

} // namespace
} // namespace tavo::mission
