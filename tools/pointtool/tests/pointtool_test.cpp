#include <QJsonDocument>
#include <QString>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "common/about/about_options.h"
#include "common/files/file_read.h"
#include "pointeditor/data/point_text_form.h"
#include "samples/sample_mission.h"
#include "tests/support/as_nobody.h"
#include "tests/support/guarded_run.h"
#include "tests/support/scene_builders.h"
#include "tests/support/scratch_directory.h"
#include "tools/pointtool/check_output.h"
#include "tools/pointtool/commands.h"

namespace tavo::pointtool {
namespace {

using Bytes = std::vector<uint8_t>;

using testing::point;

// A small mission in which every link is sound and every index names something, with the
// parameters that are not links set to ids nobody has, so over-eager checks show up.
std::vector<PointRecord> cleanMission() {
    return {
        point(5, 0, 5, 1, 0, 10, 1),
        point(6, 0, 5, 6, 3, 12, 2),  // 0 HUMAN, 1 HUMAN(EMPTY HANDED)
        point(0, 0, 0, 4, 42, 99, 3), // 2 HUMAN INFO, KOLVE SG
        point(0, 0, 0, 3, 0, 11, 10),
        point(10, 0, 0, 3, 1, 10, 11), // 3, 4 PATH WALK/RUN loop
        point(0, 0, 0, 8, 13, 14, 12), // 5 RANDOM PATH -> 13 or 14
        point(0, 0, 0, 3, 2, 13, 13),
        point(0, 0, 0, 3, 6, 14, 14), // 6, 7 PATH ends on itself
        point(0, 0, 0, 2, 22, -5, 20),
        point(0, 0, 0, 5, 12, 99, 21),  // 8 WEAPON, 9 SMALL OBJECT
        point(0, 0, 0, 7, 0, 22, 22),   // 10 RANDOM WEAPON
        point(0, 0, 0, 12, 1, 31, 30),  // 11 EVENT WAIT DEATH of human 1, then 31
        point(0, 0, 0, 10, 99, 31, 31), // 12 EVENT SUCCESSFUL
        point(0, 0, 0, 17, 50, 31, 32), // 13 EVENT WAIT SECOND; p2 is seconds, not a link
        point(0, 0, 0, 2, 1, 0, 40),
        point(0, 0, 0, 2, 1, 0, 40), // 14, 15 share an id nobody links to
    };
}

// Each case spoils one point of the clean mission and expects exactly its one finding. The map's
// bounds are the blocks in use grown by ten units.
TEST(PointCheck, EachSlipGivesExactlyItsFinding) {
    BlockRecord unused = testing::box(900, 900, 900, 1000, 1000, 1000);
    BlockRecord bent = testing::box(0, 12, 10, 10, 15, 12);
    unused.inUse = 0, bent.x[0] = -1; // its first corner alone reaches x -1
    const BlockFileContents map = decodeBlockFile(
        sample::encodeBlockFile({}, {testing::box(10, 10, 10, 50, 20, 50), bent, unused}));
    const auto check = [&map](const std::vector<PointRecord>& records) {
        return checkPoints(decodePointFile(encodePointFile(records)), &map);
    };
    EXPECT_EQ(formatSummary(check(cleanMission()).summary), // HUMAN INFO is no human
              "16 points, 2 humans, 5 path points, 3 events: 0 errors, 0 warnings");
    const std::vector onTheMargin = {point(60, 30, 60, 2, 1, 0, 1), point(-10, 0, 0, 2, 1, 0, 2)};
    EXPECT_EQ(check(onTheMargin).findings.size(), 0u);
    EXPECT_EQ(formatSummary({1, 1, 1, 1, 1, 1}),
              "1 point, 1 human, 1 path point, 1 event: 1 error, 1 warning");
    const Severity E = Severity::Error, W = Severity::Warning;
    const std::string none = " links to id 99, which no point has";
    const std::string out =
        ", more than 10 units outside the map's blocks (x -1..50, y 10..20, z 10..50)";
    // (A HUMAN whose p3 links nowhere is check-mission's case of a dangling link.)
    const std::vector<std::tuple<int, PointRecord, Severity, std::string>> cases = {
        {3, point(0, 0, 0, 3, 0, 99, 10), E, none.substr(1)},    // PATH p3
        {5, point(0, 0, 0, 8, 99, 14, 12), E, "p2" + none},      // RANDOM PATH p2
        {5, point(0, 0, 0, 8, 13, 99, 12), E, "p3" + none},      // RANDOM PATH p3
        {1, point(0, 0, 0, 6, 0, 99, 2), E, none.substr(1)},     // HUMAN(EMPTY HANDED) p3
        {12, point(0, 0, 0, 10, 99, 99, 31), E, none.substr(1)}, // first event kind, p3
        {13, point(0, 0, 0, 19, 50, 99, 32), E, none.substr(1)}, // last event kind, p3
        {11, point(0, 0, 0, 12, 99, 31, 30), E, "p2" + none},    // first waiting event, p2
        {11, point(0, 0, 0, 16, 99, 31, 30), E, "p2" + none},    // last waiting event, p2
        {4, point(0, 0, 0, 3, 1, 20, 11), W,
         "next point id 20 (slot 8) is WEAPON, not PATH or RANDOM PATH"},
        {5, point(0, 0, 0, 8, 13, 1, 12), W,
         "next point id 1 (slot 0) is HUMAN, not PATH or RANDOM PATH"},
        {0, point(0, 0, 0, 1, 0, 30, 1), W,
         "its path id 30 (slot 11) is EVENT WAIT DEATH, not PATH or RANDOM PATH"},
        {8, point(0, 0, 0, 0, 0, 0, 20), W, "kind 0 is not a point kind (1..19)"},
        {8, point(0, 0, 0, 20, 0, 0, 20), W, "kind 20 is not a point kind (1..19)"},
        {8, point(0, 0, 0, 9, 0, 0, 20), W, "kind 9 has no name"},
        {8, point(0, 0, 0, 2, 23, 0, 20), W, "p2 is weapon 23, outside the weapon names (0..22)"},
        {8, point(0, 0, 0, 2, -1, 0, 20), W, "p2 is weapon -1, outside the weapon names (0..22)"},
        {10, point(0, 0, 0, 7, 22, 23, 22), W, "p3 is weapon 23, outside the weapon names (0..22)"},
        {3, point(0, 0, 0, 3, 7, 11, 10), W,
         "p2 is path action 7, outside the path action names (0..6)"},
        {2, point(0, 0, 0, 4, 43, 0, 3), W,
         "p2 is human type 43, outside the human type names (0..42)"},
        {9, point(0, 0, 0, 5, 13, 0, 21), W,
         "p2 is small object 13, outside the small object names (0..12)"},
        {8, point(0, 0, 0, 2, 1, 0, 20, INFINITY), W, "r is inf, not a finite number"},
        {8, point(NAN, 0, 0, 2, 1, 0, 20), W, "x is nan, not a finite number"},
        {8, point(60.5f, 10, 10, 2, 1, 0, 20), W, "lies at (60.5, 10, 10)" + out},
        {8, point(20, 30.25f, 20, 2, 1, 0, 20), W, "lies at (20, 30.25, 20)" + out},
        {8, point(20, 10, -0.5f, 2, 1, 0, 20), W, "lies at (20, 10, -0.5)" + out},
        {8, point(950, 950, 950, 2, 1, 0, 20), W, "lies at (950, 950, 950)" + out},
    };
    for (const auto& [slot, replacement, severity, message] : cases) {
        SCOPED_TRACE(message);
        std::vector<PointRecord> records = cleanMission();
        records[slot] = replacement;
        const CheckReport report = check(records);
        ASSERT_EQ(report.findings.size(), 1u);
        const Finding& f = report.findings[0];
        EXPECT_EQ(std::tuple(f.slot, f.id, f.kind, f.severity, f.message),
                  std::tuple(slot, int{replacement.p4}, int{replacement.p1}, severity, message));
    }
}

// Runs the program itself, under a time and a memory limit.
tavo::testing::GuardedOutcome run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), TAVO_POINTTOOL_BINARY);
    return tavo::testing::runProgramGuarded(arguments, 10, 512);
}

class PointToolCommand : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir_.at(name); }
    std::string pd1(const char* name, const std::vector<PointRecord>& records) const {
        return dir_.write(name, encodePointFile(records));
    }

    testing::ScratchDirectory dir_;
};

// Three points share id 7, and one byte too many makes a finding about the file: each finding
// names every holder and the lowest slot, the one that a link reaches. (A check with warnings
// only exits 0: the far point through the program.)
TEST_F(PointToolCommand, CheckNamesEverySharedHolderInJsonAndExitsOneOnAnError) {
    Bytes bytes = encodePointFile(std::vector{
        point(0, 0, 0, 3, 2, 7,
              7), // 0 PATH that ends on itself and is the lowest holder of 7: sound
        point(0, 0, 0, 1, 0, 7, 1), // 1 HUMAN on that path
        point(0, 0, 0, 3, 2, 7, 7), // 2 PATH that ends on itself, but id 7 reaches slot 0
        point(0, 0, 0, 3, 2, 7, 7), // 3 the same
    });
    bytes.push_back(0);
    dir_.write("shared.pd1", bytes);
    const auto json = run({"check", path("shared.pd1"), "--json"});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.err, "4 points, 1 human, 3 path points, 0 events: 3 errors, 1 warning\n");
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(json.out)),
              QJsonDocument::fromJson(R"([
        {"slot": null, "id": null, "kind": null, "severity": "warning", "relatedSlots": [],
         "message": "the count says 4 points (82 bytes), but the file is 83 bytes long; 4 complete records read"},
        {"slot": 1, "id": 1, "kind": 1, "severity": "error", "relatedSlots": [0, 2, 3],
         "message": "links to id 7, which slots 0, 2 and 3 share; the link reaches slot 0"},
        {"slot": 2, "id": 7, "kind": 3, "severity": "error", "relatedSlots": [0, 3],
         "message": "ends its path on its own id 7, which slots 0, 2 and 3 share; the link reaches slot 0"},
        {"slot": 3, "id": 7, "kind": 3, "severity": "error", "relatedSlots": [0, 2],
         "message": "ends its path on its own id 7, which slots 0, 2 and 3 share; the link reaches slot 0"}])"))
        << json.out;
}

// A point file of a count and then `size` bytes of zero records.
Bytes withCount(int16_t count, std::size_t size) {
    Bytes bytes(2 + size, 0);
    bytes[0] = static_cast<uint8_t>(count & 0xFF);
    bytes[1] = static_cast<uint8_t>((count >> 8) & 0xFF);
    return bytes;
}

// Findings about a file as a whole say what is true of it. The map's cases each come with the
// map that differs from it by one thing; every map is checked with one point far outside it.
TEST(PointCheck, FileFindingsSayWhatTheFileHolds) {
    BlockRecord nan = testing::box(NAN, NAN, NAN, NAN, NAN, NAN),
                spare = testing::box(0, 0, 0, 1, 1, 1);
    spare.inUse = 0;
    const std::string notChecked = "; positions not checked";
    const std::string allNan = " corners that are not finite numbers" + notChecked;
    const std::vector<std::pair<std::vector<BlockRecord>, std::string>> maps = {
        {std::vector(MaxBlocks, nan), "the map's 160 blocks in use all have" + allNan},
        {{nan, spare}, "the map's one block in use has" + allNan},
        {{spare}, "the map has no blocks in use" + notChecked},
        {{nan, testing::box(0, 0, 0, 1, 1, 1)},
         "lies at (100, 0, 0), more than 10 units outside the map's blocks (x 0..1, y 0..1, z "
         "0..1)"},
    };
    const PointFileContents far =
        decodePointFile(encodePointFile(std::vector{point(100, 0, 0, 2, 1, 0, 1)}));
    for (const auto& [blocks, message] : maps) {
        SCOPED_TRACE(message);
        const BlockFileContents map = decodeBlockFile(sample::encodeBlockFile({}, blocks));
        const CheckReport report = checkPoints(far, &map);
        ASSERT_EQ(report.findings.size(), 1u);
        EXPECT_EQ(report.findings[0].message, message);
    }
    // A negative count: nothing to compare the length with, but what follows it is told.
    const std::pair<Bytes, std::string> counts[] = {
        {Bytes{0xFF, 0xFF}, "the count is -1; the editor loads no points"},
        {withCount(-1, 40),
         "the count is -1; the editor loads no points, though 40 bytes follow it "
         "(2 complete records)"},
        {withCount(-2, 39),
         "the count is -2; the editor loads no points, though 39 bytes follow it "
         "(1 complete record)"},
    };
    for (const auto& [bytes, message] : counts) {
        SCOPED_TRACE(message);
        const std::vector<Finding> findings = pointFileFindings(decodePointFile(bytes));
        ASSERT_EQ(findings.size(), 1u);
        EXPECT_EQ(findings[0].message, message);
    }
}

// Runs pointtool in this process: what it prints on standard output, then on standard error.
std::tuple<int, std::string, std::string> runHere(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    std::vector<std::string> argv{"pointtool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const int status = runPointTool(argv, out, err);
    return {status, out.str(), err.str()};
}

std::string fileBytes(const std::string& path) {
    const auto bytes = readWholeFile(path, DataFileLimit);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "(unreadable)";
}

// A refusal of the command line, as the program prints it.
std::string usage(const std::string& problem) {
    return "pointtool: " + problem + "\nTry 'pointtool --help'.\n";
}

// Options take their value in each form a shell user writes, and after "--" every argument is a
// name, even one that begins with "-".
TEST_F(PointToolCommand, OptionsAndNamesAreReadAsGiven) {
    const std::string good = pd1("good.pd1", {point(0, 0, 0, 2, 1, 0, 1)});
    const std::string dash =
        dir_.write("-o", encodePointFile(std::vector{point(0, 0, 0, 2, 1, 0, 2)}));
    const std::string map = TAVO_SAMPLES_DIR "sample.bd1";
    const std::string summary =
        "1 point, 0 humans, 0 path points, 0 events: 0 errors, 0 warnings\n";
    // What it prints, standard output then standard error, begins with `shown`; a refusal exits 1.
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"check", good, "--map=" + map}, summary},
        {{"check", "--map", map, good}, summary},
        {{"check", good, "--json"}, "[\n]\n" + summary},
        {{"dump", good, "-o" + dir_.at("a.txt")}, ""},
        {{"dump", good, "--output=" + dir_.at("b.txt")}, ""},
        {{"dump", good, "--output", dir_.at("c.txt")}, ""},
        {{"check", "--", dash}, summary},
        {{"check", good, "--bogus"}, usage("unknown option '--bogus'")},
        {{"check", good, "-x\x1b"}, usage("unknown option '-x\\x1b'")},
        {{"dump", good, "-o"}, usage("missing value after '-o'")},
        {{"check", good, "--json=1"}, usage("unexpected value after '--json'")},
        {{"check", good, "-h2"}, usage("unknown option '-h2'")},
        {{"frob", good},
         usage("unknown command 'frob'; expected check, check-mission, dump or build")},
        {{"check", good, good}, usage("expected a command and one file")},
        {{"check", good, "-o", "-"}, usage("check writes no file; -o does not apply")},
        {{"dump", good, "--map", map},
         usage("--map, --root and --json belong to check and check-mission")},
        {{"check", good, "--root", "/"}, usage("--root belongs to check-mission")},
        {{"check-mission", good, "--map", map},
         usage("--map belongs to check; a mission names its map")},
        {{"check-mission", good, "-o", "-"},
         usage("check-mission writes no file; -o does not apply")},
        {{"build", good}, usage("build needs the point file to write: -o FILE.pd1")},
        {{"-h"}, "Usage: pointtool [options] command file\n"},
        {{"-v"}, "pointtool " + std::string(version()) + "\n"},
        {{"--version"}, "pointtool " + std::string(version()) + "\n"},
        {{"--help-all"}, "Usage: pointtool [options] command file\nChecks, dumps"},
    };
    for (const auto& [arguments, shown] : rows) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        const auto [status, out, err] = runHere(arguments);
        EXPECT_EQ(status, shown.starts_with("pointtool: ") ? 1 : 0) << err;
        EXPECT_EQ((out + err).substr(0, shown.size()), shown);
    }
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        EXPECT_EQ(fileBytes(dir_.at(name)).substr(0, 19), "tavo-points-text 1\n") << name;
    }
    // The help shows each command's form and each option.
    const std::string help = std::get<1>(runHere({"--help"}));
    for (const char* line :
         {"\n  check FILE.pd1 [--map FILE.bd1] [--json]\n",
          "\n      exits 1 when there is an error\n", "\n  dump FILE.pd1 [-o FILE.txt]\n",
          "\n  check-mission FILE.mif [--root DIR] [--json]\n", "\n  build FILE.txt -o FILE.pd1\n",
          "\n  --map FILE.bd1 ", "\n  --json ", "\n  --root DIR ", "\n  -o, --output FILE ",
          "\n  -h, --help ", "\n  -v, --version ",
          "\nread-only file, a device, a FIFO or the command's own input is refused."}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
}

// A name that is not UTF-8 is the file it names, never the U+FFFD twin that a conversion to
// text would name instead: the program itself, as a shell runs it.
TEST_F(PointToolCommand, NamesThatAreNotUtf8AreTheirOwnFiles) {
    const std::string twin = dir_.write("v\xEF\xBF\xBD.pd1", std::string("the twin's bytes"));
    const std::string text =
        dir_.write("t.txt", std::string("tavo-points-text 1\n0 0 0 0 2 1 0 7\n"));
    const std::string raw = dir_.at("v\xFE.pd1"), missing = dir_.at("n\xFE.pd1");
    const auto built = run({"build", text, "-o", raw});
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(fileBytes(twin), "the twin's bytes");
    const Bytes points = encodePointFile(std::vector{point(0, 0, 0, 2, 1, 0, 7)});
    EXPECT_EQ(fileBytes(raw), std::string(points.begin(), points.end()));
    EXPECT_EQ(run({"check", raw}).out,
              "1 point, 0 humans, 0 path points, 0 events: 0 errors, 0 warnings\n");
    EXPECT_EQ(run({"check", missing}).err,
              "pointtool: cannot read " + missing + ": No such file or directory\n");
}

// Each kind's comment names what its parameters mean; unnamed and unknown values say so. The
// numbers that are awkward for a decimal form (a signed zero, denormals, the extremes of a float
// and of a signed byte) build back into the file byte for byte.
TEST_F(PointToolCommand, DumpNamesWhatEachPointIsAndBuildReproducesTheFile) {
    const std::string kinds =
        pd1("kinds.pd1",
            {point(-0.0f, std::numeric_limits<float>::denorm_min(), FLT_MAX, 2, 1, 0, 1, 0.1f),
             point(-FLT_MAX, -std::nextafter(FLT_MIN, 0.0f), FLT_MIN, 7, 0, 22, 2, 16777217.0f),
             point(0, 0, 0, 8, 5, 6, 3), point(0, 0, 0, 3, 2, 4, 4), point(0, 0, 0, 3, 1, 9, 5),
             point(0, 0, 0, 1, 0, 4, 6), point(0, 0, 0, 4, 42, 0, 7), point(0, 0, 0, 5, 3, 0, 8),
             point(0, 0, 0, 12, 1, 9, 9), point(0, 0, 0, 10, 0, 9, 10), point(0, 0, 0, 9, 0, 0, 11),
             point(0, 0, 0, 25, 0, 0, 12), point(0, 0, 0, 2, 23, 0, 13),
             point(0, 0, 0, -128, 127, -1, 0)});
    EXPECT_EQ(run({"dump", kinds, "-o", path("kinds.txt")}).status, 0);
    EXPECT_EQ(run({"build", path("kinds.txt"), "-o", path("built.pd1")}).status, 0);
    // The text shows every bit of the points and the count: the built file gives the same text.
    for (const std::string& file : {kinds, path("built.pd1")}) {
        const tavo::testing::GuardedOutcome dumped = run({"dump", file, "-o", "-"});
        EXPECT_EQ(dumped.status, 0) << dumped.err;
        EXPECT_EQ(dumped.out, R"(tavo-points-text 1
# x y z r p1 p2 p3 p4, one point a line in slot order
-0 1e-45 3.4028235e+38 0.1 2 1 0 1  # WEAPON, MP5
-3.4028235e+38 -1.1754942e-38 1.1754944e-38 16777216 7 0 22 2  # RANDOM WEAPON, NONE or MK23 SD
0 0 0 0 8 5 6 3  # RANDOM PATH, next 5 or 6
0 0 0 0 3 2 4 4  # PATH, WAIT, end of path
0 0 0 0 3 1 9 5  # PATH, RUN, next 9
0 0 0 0 1 0 4 6  # HUMAN, path 4
0 0 0 0 4 42 0 7  # HUMAN INFO, KOLVE SG
0 0 0 0 5 3 0 8  # SMALL OBJECT, PC 3
0 0 0 0 12 1 9 9  # EVENT WAIT DEATH, target 1, next 9
0 0 0 0 10 0 9 10  # EVENT SUCCESSFUL, next 9
0 0 0 0 9 0 0 11  # kind 9 (no name)
0 0 0 0 25 0 0 12  # unknown kind 25
0 0 0 0 2 23 0 13  # WEAPON, unknown weapon 23
0 0 0 0 -128 127 -1 0  # unknown kind -128
)");
    }
    EXPECT_EQ(run({"dump", pd1("empty.pd1", {})}).err, ""); // no note about the count
}

// The program's part (the file and line, "not written") is among the hostile files below.
TEST(PointText, EachBadLineIsRejectedWithItsLineNumber) {
    // A byte order mark, a carriage return, a comment and a blank line are all fine.
    const std::string header = "\xEF\xBB\xBF tavo-points-text 1\r\n# comment\n\n";
    const std::string tooMany =
        "tavo-points-text 1\n" + QString("0 0 0 0 2 1 0 1\n").repeated(201).toStdString();
    const std::string expectHeader = "expected the header \"tavo-points-text 1\"";
    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {"", 1, "the text ends before the header \"tavo-points-text 1\""},
        {"\n1 2 3 4 5 6 7 8\n", 2, expectHeader},
        {"tavo-points-text 2\n", 1, expectHeader + "; this pointtool reads only version 1"},
        {header + "1 2 3 4 5 6 7\n", 4, "expected 8 values (x y z r p1 p2 p3 p4), found 7"},
        {header + "1 two 3 4 5 6 7 8\n", 4, "expected a number for y, found 'two'"},
        {header + "1 2 3 4 5 1.5 7 8\n", 4, "expected an integer for p2, found '1.5'"},
        {header + "1 2 3 4 5 128 7 8\n", 4, "p2 is 128, outside -128..127"},
        {header + "1 2 3 4 -129 6 7 8\n", 4, "p1 is -129, outside -128..127"},
        {header + "1 2 3 4 5 6 99999999999999999999 8\n", 4,
         "p3 is '99999999999999999999', outside -128..127"},
        {header + "inf 2 3 4 5 6 7 8\n", 4, "x is 'inf'; expected a finite number"},
        {header + "1 2 1e39 4 5 6 7 8\n", 4, "z is '1e39', outside the range of a float"},
        {tooMany, 202, "point 201; a point file holds at most 200"},
        {header + "1 2 3 4 5 6 7 " + std::string(25, '9') + "\n", 4,
         "p4 is '" + std::string(24, '9') + "...', outside -128..127"},
    };
    for (const auto& [input, line, message] : cases) {
        SCOPED_TRACE(input.substr(0, 60));
        const auto parsed = parsePointText(input);
        ASSERT_FALSE(parsed.ok());
        ASSERT_EQ(parsed.error().kept.size(), 1u);
        const TextError& error = parsed.error().kept[0];
        EXPECT_EQ(std::tuple(error.line, error.message), std::tuple(line, message));
    }
}

// Hostile and special files through the program itself, each run under a time and a memory limit:
// a FIFO or a device is refused at once, a huge file is not read past the limit, and no temporary
// file is left. Targets that may not be replaced are saved over in the storage tests.
TEST_F(PointToolCommand, HostileFilesThroughTheProgramFailFast) {
    const std::string good = pd1("good.pd1", {point(0, 0, 0, 2, 1, 0, 1)});
    ASSERT_EQ(::mkfifo(dir_.at("fifo").c_str(), 0666), 0);
    ASSERT_EQ(::symlink("/dev/zero", path("zero").c_str()), 0);
    ASSERT_EQ(::symlink(good.c_str(), path("link.pd1").c_str()), 0);
    ASSERT_EQ(::truncate(pd1("sparse.pd1", {}).c_str(), off_t{3} << 30), 0);
    // Almost as large as a text may be, and every line of it wrong.
    dir_.write("bad.txt",
               "tavo-points-text 1\n" + QString("1 2 3\n").repeated(160000).toStdString());
    // The mission that ships in samples/ is free of errors, and --map reads the map.
    const std::string map = TAVO_SAMPLES_DIR "sample.bd1";
    const std::string far = pd1("far.pd1", {point(1e6f, 0, 0, 3, 0, 1, 1)});
    const std::string fresh = path("new.pd1");
    const std::string nan = pd1("nan.pd1", {point(NAN, 0, 0, 2, 1, 0, 1)});
    dir_.write("s", Bytes{5}); // the other damaged files: FileFindingsSayWhatTheFileHolds
    // A count over the table, with the length that count has: dump tells it as check does.
    const std::string full = dir_.write("300.pd1", withCount(300, 300 * PointRecordSize));
    const std::string over = "the count is 300, more than the 200 points the editor loads; 200 "
                             "complete records read\n";

    // The status, and a part of what it prints: standard output, then standard error.
    const auto expect = [](int status, const std::vector<std::string>& arguments,
                           const std::string& shown) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        const tavo::testing::GuardedOutcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, status) << outcome.err;
        EXPECT_NE((outcome.out + outcome.err).find(shown), std::string::npos) << outcome.err;
        EXPECT_LT(outcome.err.size(), 4096u);
    };
    expect(0, {"check", TAVO_SAMPLES_DIR "sample.pd1", "--map", map}, ": 0 errors, 0 warnings\n");
    expect(0, {"check", far, "--map", map},
           "warning: slot 0, id 1, PATH: lies at (1e+06, 0, 0), more than 10 units outside the "
           "map's blocks (x -60..60, y -2..12, z -60..60)\n1 point, 0 humans, 1 path point, 0 "
           "events: 0 errors, 1 warning\n");
    expect(1, {"dump", path("s")}, "pointtool: " + dir_.at("s") + " is 1 bytes long");
    expect(1, {"check", path("s")}, "the file is 1 bytes long, too short to hold its count; 0 c");
    expect(0, {"dump", full, "-o", path("300.txt")}, "pointtool: warning: " + full + ": " + over);
    expect(0, {"check", full}, "warning: file: " + over);
    expect(0, {"dump", nan},
           "# slot 0 holds a value that is not a finite number; build refuses it");
    expect(1, {"check", path("fifo")}, ": it is a FIFO, not a regular file\n");
    expect(1, {"build", path("fifo"), "-o", fresh}, ": it is a FIFO");
    expect(1, {"check", good, "--map", path("fifo")}, ": it is a FIFO");
    expect(1, {"check", path("zero")}, ": it is a character device, not a regular file\n");
    expect(1, {"dump", dir_.path()}, ": it is a directory, not a regular file\n");
    expect(1, {"check", path("sparse.pd1")},
           ": larger than 1048576 bytes, which is too large for this kind of file\n");
    expect(1, {"build", path("bad.txt"), "-o", fresh},
           dir_.at("bad.txt") + ":2: expected 8 values");
    expect(1, {"build", path("bad.txt"), "-o", fresh},
           "more bad lines\npointtool: " + fresh + " not written\n");
    expect(1, {"check", path("n\x1b[2J")},
           "cannot read " + dir_.at("n") + "\\x1b[2J: No such file");
    expect(1, {"dump", good, "-o", path("link.pd1")},
           "cannot write " + path("link.pd1") + ": it is the file this command reads");
    expect(1, {"dump", good, "-o", path("fifo")},
           "a FIFO, not a regular file; nothing was written (standard output is -o -)");
    expect(0, {"--help"},
           "writes the points as text, one a line, with their names in comments\n  build FILE.txt "
           "-o FILE.pd1\n      reads that text back");
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary left behind";
    }
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

} // namespace
// build -o over a file the author means to replace asks nothing: through a hard link both names
// get the new points; in a folder the user may not write, the message names the folder (the
// file as given, the folder absolute) and the file stays. Run as nobody, since root may write
// there.
TEST_F(PointToolCommand, BuildOverAnExistingFileKeepsItsLinksAndNamesALockedFolder) {
    const std::string good = pd1("good.pd1", {point(0, 0, 0, 2, 1, 0, 1)});
    ASSERT_EQ(run({"dump", good, "-o", path("points.txt")}).status, 0);
    const std::string linked = dir_.write("linked.pd1", "old"), other = dir_.at("other.pd1");
    ASSERT_EQ(::link(linked.c_str(), other.c_str()), 0);
    const tavo::testing::GuardedOutcome built = run({"build", path("points.txt"), "-o", linked});
    EXPECT_EQ(std::tuple(built.status, built.err), std::tuple(0, std::string()));
    EXPECT_EQ(readWholeFile(other, 64).value(), readWholeFile(good, 64).value());

    ::chmod(dir_.path().c_str(), 0777);
    const std::string folder = dir_.at("locked");
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    const std::string file = dir_.write("locked/a.pd1", "old");
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    // As nobody: a name in the working folder, and one in the root folder.
    auto buildAsNobody = [&](const std::string& in, const char* output) {
        return tavo::testing::runGuarded([&] {
            const std::string text = dir_.at("points.txt");
            if (!tavo::testing::becomeNobody() || ::chdir(in.c_str()) != 0) {
                return 99;
            }
            ::execl(TAVO_POINTTOOL_BINARY, TAVO_POINTTOOL_BINARY, "build", text.c_str(), "-o",
                    output, nullptr);
            return 127;
        });
    };
    const tavo::testing::GuardedOutcome locked = buildAsNobody(folder, "a.pd1");
    const tavo::testing::GuardedOutcome root = buildAsNobody("/", "/tavo-test.pd1");
    ::chmod(folder.c_str(), 0777);
    if (locked.status == 99) {
        GTEST_SKIP() << "needs root, to become nobody";
    }
    EXPECT_EQ(
        std::tuple(locked.status, locked.err),
        std::tuple(1, "pointtool: cannot save a.pd1: the folder " + folder + " is not writable\n"));
    EXPECT_EQ(root.err, "pointtool: cannot save /tavo-test.pd1: the folder / is not writable\n");
    EXPECT_EQ(readWholeFile(file, 64).value(), (Bytes{'o', 'l', 'd'}));
}

} // namespace tavo::pointtool
