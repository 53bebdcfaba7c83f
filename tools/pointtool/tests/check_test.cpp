#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "tools/pointtool/check_output.h"
#include "tools/pointtool/point_check.h"
#include "tools/pointtool/tests/test_points.h"

namespace tavo::pointtool {
namespace {

using testing::contentsOf;
using testing::point;

// A small mission in which every link is sound and every index names something, with the
// parameters that are not links set to ids nobody has, so over-eager checks show up.
std::vector<PointRecord> cleanMission() {
    return {
        point(1, 0, 10, 1, 5, 0, 5),   // 0 HUMAN on the loop
        point(6, 3, 12, 2, 6, 0, 5),   // 1 HUMAN(EMPTY HANDED) on the random branch
        point(4, 42, 99, 3),           // 2 HUMAN INFO, KOLVE SG
        point(3, 0, 11, 10, 0, 0, 0),  // 3 PATH WALK -> 11
        point(3, 1, 10, 11, 10, 0, 0), // 4 PATH RUN -> 10
        point(8, 13, 14, 12),          // 5 RANDOM PATH -> 13 or 14
        point(3, 2, 13, 13),           // 6 PATH WAIT, end of its path
        point(3, 6, 14, 14),           // 7 PATH GRENADE, end of its path
        point(2, 22, -5, 20),          // 8 WEAPON MK23 SD
        point(5, 12, 99, 21),          // 9 SMALL OBJECT
        point(7, 0, 22, 22),           // 10 RANDOM WEAPON
        point(12, 1, 31, 30),          // 11 EVENT WAIT DEATH of human 1, then 31
        point(10, 99, 31, 31),         // 12 EVENT SUCCESSFUL
        point(17, 50, 31, 32),         // 13 EVENT WAIT SECOND; p2 is seconds, not a link
        point(2, 1, 0, 40),            // 14 two weapons sharing an id nobody links to
        point(2, 1, 0, 40),            // 15
    };
}

std::vector<std::string> findingLines(const CheckReport& report) {
    std::vector<std::string> lines;
    for (const Finding& finding : report.findings) {
        lines.push_back(formatFinding(finding));
    }
    return lines;
}

TEST(PointCheck, CleanMissionHasNoFindingAndCountsLikeTheEditor) {
    const CheckReport report = checkPoints(contentsOf(cleanMission()));
    for (const Finding& finding : report.findings) {
        ADD_FAILURE() << formatFinding(finding);
    }
    EXPECT_EQ(report.summary.points, 16);
    EXPECT_EQ(report.summary.humans, 2); // HUMAN INFO is no human
    EXPECT_EQ(report.summary.pathPoints, 5);
    EXPECT_EQ(report.summary.events, 3);
    EXPECT_EQ(formatSummary(report.summary),
              "16 points, 2 humans, 5 path points, 3 events: 0 errors, 0 warnings");
}

struct OneFindingCase {
    const char* what;
    int slot;
    PointRecord replacement;
    Severity severity;
    std::string message;
};

// Each case spoils one point of the clean mission and expects exactly its one finding.
TEST(PointCheck, EachSlipGivesExactlyItsFinding) {
    const std::vector<OneFindingCase> cases = {
        {"path to nobody", 3, point(3, 0, 99, 10), Severity::Error,
         "links to id 99, which no point has"},
        {"random path p2 to nobody", 5, point(8, 99, 14, 12), Severity::Error,
         "p2 links to id 99, which no point has"},
        {"random path p3 to nobody", 5, point(8, 13, 98, 12), Severity::Error,
         "p3 links to id 98, which no point has"},
        {"human to nobody", 0, point(1, 0, 99, 1), Severity::Error,
         "links to id 99, which no point has"},
        {"empty-handed human to nobody", 1, point(6, 0, -99, 2), Severity::Error,
         "links to id -99, which no point has"},
        {"event p3 to nobody", 12, point(10, 99, 99, 31), Severity::Error,
         "links to id 99, which no point has"},
        {"last event kind p3 to nobody", 13, point(19, 50, 99, 32), Severity::Error,
         "links to id 99, which no point has"},
        {"waiting event p2 to nobody", 11, point(12, 99, 31, 30), Severity::Error,
         "p2 links to id 99, which no point has"},
        {"last waiting event p2 to nobody", 11, point(16, 99, 31, 30), Severity::Error,
         "p2 links to id 99, which no point has"},
        {"path into a weapon", 4, point(3, 1, 20, 11), Severity::Warning,
         "next point id 20 (slot 8) is WEAPON, not PATH or RANDOM PATH"},
        {"random path into a human", 5, point(8, 13, 1, 12), Severity::Warning,
         "next point id 1 (slot 0) is HUMAN, not PATH or RANDOM PATH"},
        {"human on an event", 0, point(1, 0, 30, 1), Severity::Warning,
         "its path id 30 (slot 11) is EVENT WAIT DEATH, not PATH or RANDOM PATH"},
        {"kind 0", 8, point(0, 0, 0, 20), Severity::Warning, "kind 0 is not a point kind (1..19)"},
        {"kind 20", 8, point(20, 0, 0, 20), Severity::Warning,
         "kind 20 is not a point kind (1..19)"},
        {"kind 9", 8, point(9, 0, 0, 20), Severity::Warning, "kind 9 has no name"},
        {"weapon 23", 8, point(2, 23, 0, 20), Severity::Warning,
         "p2 is weapon 23, outside the weapon names (0..22)"},
        {"weapon -1", 8, point(2, -1, 0, 20), Severity::Warning,
         "p2 is weapon -1, outside the weapon names (0..22)"},
        {"path action 7", 3, point(3, 7, 11, 10), Severity::Warning,
         "p2 is path action 7, outside the path action names (0..6)"},
        {"human type 43", 2, point(4, 43, 0, 3), Severity::Warning,
         "p2 is human type 43, outside the human type names (0..42)"},
        {"small object 13", 9, point(5, 13, 0, 21), Severity::Warning,
         "p2 is small object 13, outside the small object names (0..12)"},
        {"random weapon p3", 10, point(7, 22, 23, 22), Severity::Warning,
         "p3 is weapon 23, outside the weapon names (0..22)"},
        {"infinite heading", 8, point(2, 1, 0, 20, 0, 0, 0, INFINITY), Severity::Warning,
         "r is inf, not a finite number"},
    };
    for (const OneFindingCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<PointRecord> records = cleanMission();
        records[c.slot] = c.replacement;
        const CheckReport report = checkPoints(contentsOf(records));
        ASSERT_EQ(report.findings.size(), 1u);
        const Finding& finding = report.findings[0];
        EXPECT_EQ(finding.slot, c.slot);
        EXPECT_EQ(finding.id, c.replacement.p4);
        EXPECT_EQ(finding.kind, c.replacement.p1);
        EXPECT_EQ(finding.severity, c.severity);
        EXPECT_EQ(finding.message, c.message);
        EXPECT_EQ(report.summary.errors + report.summary.warnings, 1);
    }
}

TEST(PointCheck, SharedIdNamesEveryHolderAndTheLowestSlotThatALinkReaches) {
    const CheckReport report = checkPoints(contentsOf({
        point(2, 1, 0, 7), // 0 a weapon that happens to hold the path's id
        point(1, 0, 7, 1), // 1 HUMAN meant for the path
        point(3, 2, 7, 7), // 2 PATH that ends on itself, but id 7 reaches slot 0
        point(3, 2, 7, 7), // 3 the same
        point(3, 2, 8, 8), // 4 ends on itself and is the lowest holder of 8: sound
        point(3, 2, 8, 8), // 5 ...but this one reaches slot 4
    }));
    EXPECT_EQ(findingLines(report),
              (std::vector<std::string>{
                  "error: slot 1, id 1, HUMAN: links to id 7, which slots 0, 2 and 3 "
                  "share; the link reaches slot 0",
                  "warning: slot 1, id 1, HUMAN: its path id 7 (slot 0) is WEAPON, not "
                  "PATH or RANDOM PATH",
                  "error: slot 2, id 7, PATH: ends its path on its own id 7, which slots "
                  "0, 2 and 3 share; the link reaches slot 0",
                  "error: slot 3, id 7, PATH: ends its path on its own id 7, which slots "
                  "0, 2 and 3 share; the link reaches slot 0",
                  "error: slot 5, id 8, PATH: ends its path on its own id 8, which slots "
                  "4 and 5 share; the link reaches slot 4",
              }));
    ASSERT_EQ(report.findings.size(), 5u);
    EXPECT_EQ(report.findings[0].relatedSlots, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(report.findings[2].relatedSlots, (std::vector<int>{0, 3}));
    EXPECT_EQ(report.summary.errors, 4);
    EXPECT_EQ(report.summary.warnings, 1);
}

// The findings for `bytes` cut or padded (with copies of the first record) to `size`, under a
// stored count of `count`.
std::vector<std::string> fileFindings(std::vector<uint8_t> bytes, std::size_t size, int16_t count) {
    bytes.resize(std::min(bytes.size(), size));
    while (bytes.size() < size) {
        bytes.push_back(bytes[2 + (bytes.size() - 2) % PointRecordSize]);
    }
    bytes[0] = static_cast<uint8_t>(count);
    bytes[1] = static_cast<uint8_t>(static_cast<uint16_t>(count) >> 8);
    return findingLines(checkPoints(decodePointFile(bytes)));
}

TEST(PointCheck, CountThatDisagreesWithTheLengthIsReportedWithTheRecordsRead) {
    const std::vector<uint8_t> three =
        testing::encode({point(2, 1, 0, 1), point(2, 1, 0, 2), point(2, 1, 0, 3)});
    using Lines = std::vector<std::string>;
    EXPECT_EQ(fileFindings(three, 49, 3),
              Lines{"warning: file: the count says 3 points (62 bytes), but the file is 49 bytes "
                    "long; 2 complete records read"});
    EXPECT_EQ(fileFindings(three, 65, 3),
              Lines{"warning: file: the count says 3 points (62 bytes), but the file is 65 bytes "
                    "long; 3 complete records read"});
    EXPECT_EQ(fileFindings(three, 2 + 250 * 20, 250),
              Lines{"warning: file: the count is 250, more than the 200 points the editor loads; "
                    "200 complete records read"});
    EXPECT_EQ(fileFindings(three, 2, -3),
              Lines{"warning: file: the count is -3; the editor loads no points"});
    EXPECT_EQ(findingLines(checkPoints(decodePointFile(std::vector<uint8_t>{5}))),
              Lines{"error: file: the file is 1 bytes long, too short to hold its count; 0 "
                    "complete records read"});
}

TEST(PointCheck, MapBoundsAreTheBlocksInUseGrownByTenUnits) {
    BlockFileContents map;
    map.hasHeader = true;
    map.declaredCount = 3;
    map.blocks = {testing::boxBlock(0, 0, 0, 100, 20, 50), testing::boxBlock(-5, 0, 0, 0, 2, 1),
                  testing::boxBlock(900, 900, 900, 1000, 1000, 1000, 0)}; // an empty slot
    const CheckReport report = checkPoints(contentsOf({
                                               point(2, 1, 0, 1, 110, 30, 60),   // on the margin
                                               point(2, 1, 0, 2, -15, -10, -10), // on the margin
                                               point(2, 1, 0, 3, 110.5f, 0, 0),
                                               point(2, 1, 0, 4, 50, 30.25f, 25),
                                               point(2, 1, 0, 5, 50, 10, -10.5f),
                                               point(2, 1, 0, 6, 950, 950, 950),
                                               point(2, 1, 0, 7, NAN, 0, 0),
                                           }),
                                           &map);
    std::vector<int> flagged;
    for (const Finding& finding : report.findings) {
        flagged.push_back(finding.slot);
    }
    EXPECT_EQ(flagged, (std::vector<int>{2, 3, 4, 5, 6}));
    ASSERT_FALSE(report.findings.empty());
    EXPECT_EQ(report.findings[0].message,
              "lies at (110.5, 0, 0), more than 10 units outside the map's blocks (x -5..100, y "
              "0..20, z 0..50)");
    EXPECT_EQ(report.findings.back().message, "x is nan, not a finite number");
}

TEST(PointCheck, MapWithoutUsableBlocksIsReportedOnceInsteadOfEveryPoint) {
    BlockFileContents unused; // one block, not in use
    unused.hasHeader = true;
    unused.declaredCount = 2;
    unused.blocks = {testing::boxBlock(0, 0, 0, 1, 1, 1, 0)};
    const BlockFileContents headless;
    const auto points = contentsOf({point(2, 1, 0, 1, 500, 0, 0), point(2, 1, 0, 2, 600, 0, 0)});
    auto messages = [&points](const BlockFileContents& map) {
        return findingLines(checkPoints(points, &map));
    };
    EXPECT_EQ(messages(unused),
              (std::vector<std::string>{
                  "warning: file: the map's count says 2 blocks, but it holds 1 complete ones",
                  "warning: file: the map has no blocks in use; positions not checked"}));
    EXPECT_EQ(messages(headless),
              std::vector<std::string>{"warning: file: the map file is too short to hold its "
                                       "header; positions not checked"});
}

} // namespace
} // namespace tavo::pointtool
