#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

#include "tools/pointtool/commands.h"
#include "tools/pointtool/tests/test_points.h"

namespace tavo::pointtool {
namespace {

using testing::encode;
using testing::point;
using testing::readFile;
using testing::writeFile;
using testing::writeText;

float fromBits(uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Points whose floats are the awkward ones for a decimal form, and whose parameters run over
// the whole signed byte range, padded with random finite bit patterns up to `count`.
std::vector<PointRecord> awkwardPoints(std::size_t count, unsigned seed) {
    const std::vector<float> floats = {0.0f,        -0.0f,
                                       fromBits(1), fromBits(0x807FFFFF),
                                       FLT_MIN,     -FLT_MIN,
                                       FLT_MAX,     -FLT_MAX,
                                       0.1f,        -0.3926990f,
                                       16777217.0f, 1e-38f,
                                       123456.789f, std::nextafter(1.0f, 2.0f)};
    std::vector<PointRecord> records;
    for (std::size_t i = 0; i < floats.size() && records.size() < count; ++i) {
        const float f = floats[i];
        const float g = floats[(i + 3) % floats.size()];
        records.push_back(point(-128, 127, -1, 0, f, g, -f, g));
    }
    std::mt19937 random(seed);
    while (records.size() < count) {
        float values[4];
        for (float& value : values) {
            do {
                value = fromBits(random());
            } while (!std::isfinite(value));
        }
        const auto param = [&random] { return static_cast<int>(random() % 256) - 128; };
        records.push_back(
            point(param(), param(), param(), param(), values[0], values[1], values[2], values[3]));
    }
    return records;
}

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;
};

ToolRun run(QStringList arguments) {
    arguments.prepend("pointtool");
    std::ostringstream out;
    std::ostringstream err;
    const int status = runPointTool(arguments, out, err);
    return ToolRun{status, out.str(), err.str()};
}

class PointToolCommand : public ::testing::Test {
  protected:
    QString path(const char* name) const { return dir_.filePath(name); }
    std::string text(const char* name) const { return path(name).toStdString(); }

    QTemporaryDir dir_;
};

TEST_F(PointToolCommand, CheckExitsOneOnlyWhenThereIsAnError) {
    writeFile(path("clean.pd1"), encode({point(3, 0, 5, 4), point(3, 0, 4, 5)}));
    writeFile(path("warned.pd1"), encode({point(2, 40, 0, 1)}));
    writeFile(path("broken.pd1"), encode({point(1, 0, 9, 7)}));

    const ToolRun clean = run({"check", path("clean.pd1")});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "2 points, 0 humans, 2 path points, 0 events: 0 errors, 0 warnings\n");
    EXPECT_EQ(run({"check", path("warned.pd1")}).status, 0);
    const ToolRun broken = run({"check", path("broken.pd1")});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "error: slot 0, id 7, HUMAN: links to id 9, which no point has\n"
                          "1 point, 1 human, 0 path points, 0 events: 1 error, 0 warnings\n");
}

TEST_F(PointToolCommand, CheckJsonIsAnArrayOfTheFindings) {
    std::vector<uint8_t> bytes = encode({point(2, 1, 0, 7), point(1, 0, 7, 1), point(2, 1, 0, 7)});
    bytes.push_back(0); // one byte too many: a finding about the file
    writeFile(path("shared.pd1"), bytes);
    const ToolRun result = run({"check", path("shared.pd1"), "--json"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "3 points, 1 human, 0 path points, 0 events: 1 error, 2 warnings\n");

    QJsonParseError error{};
    const QJsonArray array =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.out), &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.out;
    ASSERT_EQ(array.size(), 3);
    const QJsonObject file = array[0].toObject();
    EXPECT_TRUE(file["slot"].isNull() && file["id"].isNull() && file["kind"].isNull());
    EXPECT_EQ(file["severity"].toString(), "warning");
    const QJsonObject shared = array[1].toObject();
    EXPECT_EQ(shared["slot"].toInt(), 1);
    EXPECT_EQ(shared["id"].toInt(), 1);
    EXPECT_EQ(shared["kind"].toInt(), 1);
    EXPECT_EQ(shared["severity"].toString(), "error");
    EXPECT_EQ(shared["message"].toString(),
              "links to id 7, which slots 0 and 2 share; the link reaches slot 0");
    EXPECT_EQ(shared["relatedSlots"].toArray(), (QJsonArray{0, 2}));
}

TEST_F(PointToolCommand, CheckReadsTheMapGivenWithMap) {
    writeFile(path("points.pd1"),
              encode({point(2, 1, 0, 1, 5, 5, 5), point(2, 1, 0, 2, 500, 5, 5)}));
    writeFile(path("map.bd1"), testing::blockFileBytes({testing::boxBlock(0, 0, 0, 10, 10, 10)}));
    const ToolRun result = run({"check", path("points.pd1"), "--map", path("map.bd1")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("warning: slot 1, id 2, WEAPON: lies at (500, 5, 5), more than 10 "
                               "units outside the map's blocks (x 0..10, y 0..10, z 0..10)\n",
                               0),
              0u)
        << result.out;
    EXPECT_EQ(run({"check", path("points.pd1"), "--map", path("none.bd1")}).status, 1);
}

TEST_F(PointToolCommand, DumpThenBuildReproducesTheFileByteForByte) {
    for (std::size_t count : {0, 14, MaxPoints}) {
        SCOPED_TRACE(count);
        const std::vector<uint8_t> bytes = encode(awkwardPoints(count, 7));
        writeFile(path("in.pd1"), bytes);
        const ToolRun dump = run({"dump", path("in.pd1"), "-o", path("points.txt")});
        ASSERT_EQ(dump.status, 0) << dump.err;
        EXPECT_EQ(dump.err, "");
        ASSERT_EQ(run({"build", path("points.txt"), "-o", path("out.pd1")}).status, 0);
        EXPECT_EQ(readFile(path("out.pd1")), bytes);
        const std::vector<uint8_t> written = readFile(path("points.txt"));
        EXPECT_EQ(run({"dump", path("in.pd1")}).out, std::string(written.begin(), written.end()));
    }
}

TEST_F(PointToolCommand, BuildRejectsABadLineAndLeavesTheOldFileAlone) {
    const std::vector<uint8_t> old = encode({point(2, 1, 0, 1)});
    writeFile(path("out.pd1"), old);
    writeText(path("bad.txt"), "tavo-points-text 1\n"
                               "0 0 0 0 2 1 0 1\n"
                               "0 0 0 0 2 1 0 200  # id out of range\n");
    const ToolRun result = run({"build", path("bad.txt"), "-o", path("out.pd1")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, text("bad.txt") + ":3: p4 is 200, outside -128..127\npointtool: " +
                              text("out.pd1") + " not written\n");
    EXPECT_EQ(readFile(path("out.pd1")), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 2); // no temporary file left
}

TEST_F(PointToolCommand, DumpOfATruncatedFileSaysHowManyRecordsItHeld) {
    std::vector<uint8_t> bytes = encode({point(3, 0, 1, 1), point(3, 0, 2, 2)});
    bytes.resize(2 + 20 + 11);
    writeFile(path("cut.pd1"), bytes);
    const ToolRun dump = run({"dump", path("cut.pd1")});
    EXPECT_EQ(dump.status, 0);
    const std::string note = text("cut.pd1") +
                             ": the count says 2 points, but the file is 33 bytes long; these "
                             "are the 1 complete records read";
    EXPECT_EQ(dump.err, "pointtool: warning: " + note + "\n");
    EXPECT_NE(dump.out.find("# " + note + "\n0 0 0 0 3 0 1 1  # PATH, WALK, end of path\n"),
              std::string::npos);

    writeFile(path("short.pd1"), {7});
    const ToolRun tooShort = run({"dump", path("short.pd1")});
    EXPECT_EQ(tooShort.status, 1);
    EXPECT_NE(tooShort.err.find("too short to hold its count"), std::string::npos);
}

TEST_F(PointToolCommand, UnreadableInputFailsWithTheReasonAndWritesNothing) {
    QDir(dir_.path()).mkdir("folder");
    const std::vector<QStringList> calls = {{"check", path("missing.pd1")},
                                            {"dump", path("folder"), "-o", path("x")},
                                            {"build", path("missing.txt"), "-o", path("x")},
                                            {"check", "/dev/zero"}};
    const std::vector<std::string> reasons = {"cannot read " + text("missing.pd1") + ": ",
                                              "it is a directory", "cannot read", "too large"};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const ToolRun result = run(calls[i]);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(reasons[i]), std::string::npos) << result.err;
    }
    EXPECT_FALSE(QFileInfo::exists(path("x")));
}

TEST_F(PointToolCommand, UsageErrorsExitOneAndHelpAndVersionZero) {
    const ToolRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("build FILE.txt -o FILE.pd1"), std::string::npos);
    EXPECT_EQ(run({"--version"}).out.rfind("pointtool ", 0), 0u);
    for (const QStringList& arguments : std::vector<QStringList>{{},
                                                                 {"frobnicate", "a.pd1"},
                                                                 {"build", "a.txt"},
                                                                 {"dump", "a.pd1", "--json"},
                                                                 {"check", "a.pd1", "-o", "b"},
                                                                 {"check", "a.pd1", "--bogus"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("Try 'pointtool --help'"), std::string::npos);
    }
}

// The mission that ships in samples/ must stay free of errors, and convert to text and back.
TEST_F(PointToolCommand, SampleMissionPassesCheckAndRoundTrips) {
    const QString samples = TAVO_SAMPLES_DIR;
    ASSERT_TRUE(QFileInfo::exists(samples + "sample.pd1")) << samples.toStdString();
    const ToolRun check = run({"check", samples + "sample.pd1", "--map", samples + "sample.bd1"});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_NE(check.out.find(": 0 errors, 0 warnings"), std::string::npos) << check.out;

    ASSERT_EQ(run({"dump", samples + "sample.pd1", "-o", path("sample.txt")}).status, 0);
    ASSERT_EQ(run({"build", path("sample.txt"), "-o", path("sample.pd1")}).status, 0);
    EXPECT_EQ(readFile(path("sample.pd1")), readFile(samples + "sample.pd1"));
}

} // namespace
} // namespace tavo::pointtool
