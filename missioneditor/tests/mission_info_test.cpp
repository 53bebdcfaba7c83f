#include <gtest/gtest.h>

#include <climits>
#include <string>
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

// A mission using every field, and the bytes the game expects for it.
MissionInfo fullMission() {
    MissionInfo info;
    info.missionName = "m01";
    info.fullName = "テスト作戦";
    info.blockPath = ".\\data\\map\\m01\\m01.bd1";
    info.pointPath = ".\\data\\map\\m01\\m01.pd1";
    info.skyIndex = 3;
    info.flags = 2;
    info.hasAddonObject = true;
    info.addonObjectPath = ".\\addon\\crate.x";
    info.image1Path = ".\\data\\briefing\\m01a.bmp";
    info.hasImage2 = true;
    info.image2Path = ".\\data\\briefing\\m01b.bmp";
    info.briefingText = "一行目\n二行目";
    return info;
}

const std::string kFullMissionBytes = crlfLines({
                                          "m01",
                                          "\x83\x65\x83\x58\x83\x67\x8d\xec\x90\xed",
                                          ".\\data\\map\\m01\\m01.bd1",
                                          ".\\data\\map\\m01\\m01.pd1",
                                          "3",
                                          "2",
                                          ".\\addon\\crate.x",
                                          ".\\data\\briefing\\m01a.bmp",
                                          ".\\data\\briefing\\m01b.bmp",
                                      }) +
                                      "\x88\xea\x8d\x73\x96\xda\r\n\x93\xf1\x8d\x73\x96\xda";

TEST(MissionInfoFile, FullMissionWritesTheGamesBytesAndReadsBack) {
    const WriteResult written = writeMissionInfo(fullMission());
    ASSERT_FALSE(written.problem);
    EXPECT_EQ(written.bytes, kFullMissionBytes);
    EXPECT_EQ(readMissionInfo(kFullMissionBytes), fullMission());
}

TEST(MissionInfoFile, SkiesFlagsAndAbsentPathsRoundTrip) {
    for (int sky = 0; sky < kSkyCount; ++sky) {
        for (int flags = 0; flags <= 3; ++flags) {
            MissionInfo info = fullMission();
            info.skyIndex = sky;
            info.flags = flags;
            const std::string bytes = writeMissionInfo(info).bytes;
            EXPECT_NE(
                bytes.find("\r\n" + std::to_string(sky) + "\r\n" + std::to_string(flags) + "\r\n"),
                std::string::npos);
            EXPECT_EQ(readMissionInfo(bytes), info) << sky << " " << flags;
        }
    }

    // Switched-off paths are written as "!" whatever their edits still hold, and read back empty.
    MissionInfo info = fullMission();
    info.hasAddonObject = false;
    info.hasImage2 = false;
    const std::string bytes = writeMissionInfo(info).bytes;
    EXPECT_NE(bytes.find("\r\n2\r\n!\r\n.\\data\\briefing\\m01a.bmp\r\n!\r\n"), std::string::npos);
    const MissionInfo read = readMissionInfo(bytes);
    EXPECT_FALSE(read.hasAddonObject);
    EXPECT_FALSE(read.hasImage2);
    EXPECT_EQ(read.addonObjectPath, "");
    EXPECT_EQ(read.image2Path, "");

    // Anything after the "!" still means none, as the game looks only at the first character.
    const MissionInfo marked =
        readMissionInfo(crlfLines({"", "", "", "", "0", "0", "!old.x", "", "!!"}));
    EXPECT_FALSE(marked.hasAddonObject);
    EXPECT_FALSE(marked.hasImage2);
}

TEST(MissionInfoFile, BriefingLinesUseCrLfAndNothingFollowsTheLast) {
    MissionInfo info;
    const std::string fixed = writeMissionInfo(info).bytes;
    EXPECT_TRUE(
        fixed.ends_with("0\r\n0\r\n!\r\n\r\n!\r\n")); // empty briefing: nothing after line 9
    EXPECT_EQ(readMissionInfo(fixed).briefingText, "");

    info.briefingText = "Go north.\n\nMeet the convoy\nat dawn.\n";
    const std::string bytes = writeMissionInfo(info).bytes;
    EXPECT_EQ(bytes.substr(fixed.size()), "Go north.\r\n\r\nMeet the convoy\r\nat dawn.\r\n");
    EXPECT_EQ(readMissionInfo(bytes), info);

    // A line stored with a bare LF reads as any other line and is saved with CR LF.
    const MissionInfo bare = readMissionInfo(fixed + "one\ntwo\r\nthree\n\nfive");
    EXPECT_EQ(bare.briefingText, "one\ntwo\nthree\n\nfive");
    EXPECT_EQ(writeMissionInfo(bare).bytes, fixed + "one\r\ntwo\r\nthree\r\n\r\nfive");
}

TEST(MissionInfoFile, UnknownSkyAndFlagBitsSurviveLoadAndSave) {
    const std::string cases[] = {
        crlfLines({"a", "b", "c", "d", "7", "12", "!", "e", "!"}) + "text",
        crlfLines({"a", "b", "c", "d", "-1", "-1", "x", "e", "y"}),
        crlfLines({"a", "b", "c", "d", "2147483647", "1024", "!", "e", "!"}),
    };
    for (const auto& bytes : cases) {
        EXPECT_EQ(writeMissionInfo(readMissionInfo(bytes)).bytes, bytes);
    }
}

TEST(MissionInfoFile, NumbersReadAsTheGameReadsThem) {
    struct Case {
        std::string line;
        int value;
    };
    const Case cases[] = {
        {"4", 4},
        {" \t5 sunny", 5},
        {"+2", 2},
        {"-3", -3},
        {"sunny", 0},
        {"", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"123456789012345678901234567890", INT_MAX},
    };
    for (const auto& c : cases) {
        const MissionInfo info = readMissionInfo(crlfLines({"", "", "", "", c.line, c.line}));
        EXPECT_EQ(info.skyIndex, c.value) << c.line;
        EXPECT_EQ(info.flags, c.value) << c.line;
    }
}

TEST(MissionInfoFile, FieldsOfExactlyTheirLimitKeepLaterFieldsInPlace) {
    MissionInfo info = fullMission();
    info.missionName = std::string(31, 'n');
    info.fullName = std::string(125, 'f') + "テ"; // 127 bytes, the last two one character
    info.blockPath = std::string(127, 'b');
    info.pointPath = std::string(127, 'p');
    info.addonObjectPath = std::string(255, 'o');
    info.image1Path = std::string(255, '1');
    info.image2Path = std::string(255, '2');
    info.briefingText = std::string(398, 'x') + "\n" + std::string(398, 'y'); // 798 with CR LF
    const WriteResult written = writeMissionInfo(info);
    ASSERT_FALSE(written.problem);
    EXPECT_EQ(readMissionInfo(written.bytes), info);
}

TEST(MissionInfoFile, LongerLinesKeepTheirLimitCutBetweenCharacters) {
    const std::string te = "\x83\x65"; // "テ"
    const std::string file = crlfLines({std::string(40, 'n'), std::string(126, 'f') + te + "tail",
                                        "b", "p", "1", "1", std::string(300, 'o'), "i", "!"});
    const MissionInfo info = readMissionInfo(file + std::string(900, 'x'));
    EXPECT_EQ(info.missionName, std::string(31, 'n'));
    EXPECT_EQ(info.fullName, std::string(126, 'f')); // "テ" would straddle byte 127
    EXPECT_EQ(info.blockPath, "b");
    EXPECT_EQ(info.skyIndex, 1);
    EXPECT_EQ(info.addonObjectPath, std::string(255, 'o'));
    EXPECT_EQ(info.image1Path, "i");
    EXPECT_EQ(info.briefingText, std::string(798, 'x'));

    // A briefing cut between CR and LF keeps neither.
    const std::string head = crlfLines({"", "", "", "", "0", "0", "!", "", "!"});
    EXPECT_EQ(readMissionInfo(head + std::string(797, 'x') + "\r\nmore").briefingText,
              std::string(797, 'x'));
    EXPECT_EQ(readMissionInfo(head + std::string(796, 'x') + "\nmore").briefingText,
              std::string(796, 'x') + "\n");
}

TEST(MissionInfoFile, AFileEndingAfterAnyFieldLeavesTheRestEmpty) {
    // What a new, empty mission writes for each of the nine one-line fields.
    const std::vector<std::string> empty = {"", "", "", "", "0", "0", "!", "", "!"};
    const std::vector<std::string> full = {"m", "f", "b", "p", "4", "3", "o", "i", "j"};
    for (std::size_t fields = 0; fields <= 9; ++fields) {
        std::vector<std::string> lines(full.begin(), full.begin() + static_cast<long>(fields));
        const std::string file = crlfLines(lines);
        lines.insert(lines.end(), empty.begin() + static_cast<long>(fields), empty.end());
        EXPECT_EQ(writeMissionInfo(readMissionInfo(file)).bytes, crlfLines(lines)) << fields;
        if (fields > 0) { // the same without the last line end
            const std::string cut = file.substr(0, file.size() - 2);
            EXPECT_EQ(writeMissionInfo(readMissionInfo(cut)).bytes, crlfLines(lines)) << fields;
        }
    }
}

TEST(MissionInfoFile, WriterRefusesWhatTheFileCannotHold) {
    struct Case {
        const char* name;
        void (*edit)(MissionInfo&);
        FieldProblem problem;
    };
    const Case cases[] = {
        {"32 bytes",
         [](MissionInfo& m) { m.missionName = std::string(32, 'n'); },
         {Field::missionName, Problem::tooLong}},
        {"double-byte over",
         [](MissionInfo& m) { m.missionName = std::string(30, 'n') + "テ"; },
         {Field::missionName, Problem::tooLong}},
        {"emoji",
         [](MissionInfo& m) { m.fullName = "attack \U0001F680"; },
         {Field::fullName, Problem::noCp932Form}},
        {"line end",
         [](MissionInfo& m) { m.pointPath = "a\r\nb"; },
         {Field::pointPath, Problem::lineEnd}},
        {"bang path",
         [](MissionInfo& m) { m.addonObjectPath = "!crate.x"; },
         {Field::addonObjectPath, Problem::startsWithNone}},
        {"bang image",
         [](MissionInfo& m) { m.image2Path = "!b.bmp"; },
         {Field::image2Path, Problem::startsWithNone}},
        {"long briefing",
         [](MissionInfo& m) { m.briefingText = std::string(798, 'x') + "\n"; },
         {Field::briefingText, Problem::tooLong}},
        {"first in file order",
         [](MissionInfo& m) {
             m.briefingText = "\U0001F680";
             m.image1Path = std::string(256, 'i');
         },
         {Field::image1Path, Problem::tooLong}},
    };
    for (const auto& c : cases) {
        MissionInfo info = fullMission();
        c.edit(info);
        const WriteResult written = writeMissionInfo(info);
        EXPECT_EQ(written.problem, c.problem) << c.name;
        EXPECT_EQ(written.bytes, "") << c.name;
    }

    // A path that is switched off is not written, so nothing in it can be refused.
    MissionInfo off = fullMission();
    off.hasAddonObject = false;
    off.addonObjectPath = "!\U0001F680";
    EXPECT_FALSE(writeMissionInfo(off).problem);
}

TEST(MissionInfoFile, BytesThatAreNotCp932ReadAsReplacementsThatCannotBeSaved) {
    const MissionInfo info = readMissionInfo(crlfLines({"ok",
                                                        "a\x80"
                                                        "b\x83",
                                                        "c", "d", "0", "0", "!", "e", "!"}));
    EXPECT_EQ(info.missionName, "ok");
    EXPECT_EQ(info.fullName, "a\uFFFDb\uFFFD");
    EXPECT_EQ(info.blockPath, "c");
    EXPECT_EQ(writeMissionInfo(info).problem,
              (FieldProblem{Field::fullName, Problem::noCp932Form}));
}

} // namespace
} // namespace tavo::mission
