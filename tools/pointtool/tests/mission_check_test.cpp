// check-mission on missions made here: a game folder with the mission one folder down, its map,
// points, briefing image and add-on object where its paths lead.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sstream>

#include "missioneditor/mission_info.h"
#include "pointeditor/data/point_file.h"
#include "samples/sample_mission.h"
#include "tests/support/image_writers.h"
#include "tests/support/scene_builders.h"
#include "tests/support/scratch_directory.h"
#include "tools/pointtool/check_output.h"
#include "tools/pointtool/commands.h"
#include "tools/pointtool/mission_check.h"

namespace tavo::pointtool {
namespace {

using mission::MissionInfo;
using testing::point;
using Points = std::vector<PointRecord>;

// A human on the floor walking a path that ends on itself, and a weapon.
Points sound() {
    return {point(0, 0, 0, 1, 0, 10, 1), point(5, 0, 5, 3, 0, 10, 10),
            point(-5, 0, -5, 2, 1, 0, 2)};
}

// The line numbered `n` from 0, without its end.
std::string lineOf(const std::string& text, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = text.find('\n', start) + 1;
    }
    return text.substr(start, text.find('\n', start) - start);
}

QJsonObject jsonOf(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

// Sky 1, no flags, an add-on object and one image.
MissionInfo soundMission() {
    return {"m1", "the first", ".\\data\\map\\m1.bd1", ".\\data\\map\\m1.pd1",     1,
            0,    true,        ".\\addon\\obj.x",      ".\\data\\briefing\\b.png", false,
            "",   "Go."};
}

class CheckMission : public ::testing::Test {
protected:
    // The map: a floor from -50 to 50 with its top at y 0, and a wall on it from x 10 to 12, 10
    // high.
    CheckMission() {
        dir_.write("game/data/map/m1.bd1",
                   sample::encodeBlockFile({}, {testing::box(-50, -2, -50, 50, 0, 50),
                                                testing::box(10, 0, -50, 12, 10, 50)}));
        points(sound());
        dir_.write("game/data/briefing/b.png", testing::pngOf(4, 3, 8, 2, {10, 20, 30}));
        dir_.write("game/addon/obj.x", std::string("object"));
    }

    void points(const Points& records) {
        dir_.write("game/data/map/m1.pd1", encodePointFile(records));
    }

    std::string mif(const MissionInfo& info, const std::string& name = "game/missions/m1.mif") {
        return dir_.write(name, mission::writeMissionInfo(info).value());
    }

    std::tuple<int, std::string, std::string> run(std::vector<std::string> arguments) {
        std::ostringstream out, err;
        arguments.insert(arguments.begin(), {"pointtool", "check-mission"});
        const int status = runPointTool(arguments, out, err);
        return {status, out.str(), err.str()};
    }

    // The report with the root given, from the missions' folder.
    MissionReport given(const MissionInfo& info) {
        return checkMission(info, nullptr, dir_.at("game/missions"), game());
    }

    std::string game() const { return dir_.at("game"); }

    testing::ScratchDirectory dir_;
};

TEST_F(CheckMission, ASoundMissionSaysTheRootFoundUpwardsAndNothingElse) {
    const auto [status, out, err] = run({mif(soundMission())});
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(out, "root: " + game() +
                       " (the nearest folder from the mission's upwards that holds its map)\n"
                       "3 points, 1 human, 1 path point, 0 events: 0 errors, 0 warnings\n");
    MissionInfo full = soundMission();
    full.missionName = std::string(31, 'm');
    full.fullName = std::string(127, 'f');
    full.briefingText = std::string(397, 'b') + "\n" + std::string(399, 'b'); // 798 with CR LF
    EXPECT_EQ(given(full).findings.size(), 0u) << "every field exactly at its limit";
    full.briefingText += "b";
    EXPECT_EQ(given(full).findings.size(), 1u) << "the briefing one byte over";
}

// Each row spoils one thing of the sound mission and expects exactly its one finding; an error
// makes the exit status 1.
TEST_F(CheckMission, EachSlipGivesExactlyItsFinding) {
    dir_.write("game/data/briefing/text.png", std::string("not an image at all"));
    dir_.write("game/data/briefing/cut.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
    dir_.write("game/data/briefing/wide.png", testing::pngOf(8193, 2, 8, 0, {0}));
    const std::string root = game();
    const struct {
        const char* name;
        std::function<void(MissionInfo&, Points&)> spoil;
        std::string finding;
    } rows[] = {
        {"a wrong path", [](auto& m, auto&) { m.pointPath = ".\\data\\map\\none.pd1"; },
         "error: pathname of point: .\\data\\map\\none.pd1 leads to no file under " + root},
        {"found only ignoring case",
         [](auto& m, auto&) { m.image1Path = ".\\DATA\\Briefing\\B.png"; },
         "warning: pathname of image1: .\\DATA\\Briefing\\B.png is found only when case is "
         "ignored, as " +
             root + "/data/briefing/b.png; the path should be typed as the file is named"},
        {"a missing image", [](auto& m, auto&) { m.image1Path = ".\\data\\briefing\\gone.png"; },
         "error: pathname of image1: .\\data\\briefing\\gone.png leads to no file under " + root},
        {"an image of no known format",
         [](auto& m, auto&) { m.image1Path = ".\\data\\briefing\\text.png"; },
         "error: pathname of image1: is in a format the image reader does not know"},
        {"a damaged image", [](auto& m, auto&) { m.image1Path = ".\\data\\briefing\\cut.png"; },
         "error: pathname of image1: is damaged: the image reader cannot read it whole"},
        {"an image too large", [](auto& m, auto&) { m.image1Path = ".\\data\\briefing\\wide.png"; },
         "error: pathname of image1: is 8193 x 2 pixels; an image may have at most 8192 on a side"},
        {"a second image missing",
         [](auto& m, auto&) { m.hasImage2 = true, m.image2Path = ".\\data\\b2.png"; },
         "error: pathname of image2: .\\data\\b2.png leads to no file under " + root},
        {"no add-on object", [](auto& m, auto&) { m.addonObjectPath = ".\\addon\\none.x"; },
         "error: pathname of obj: .\\addon\\none.x leads to no file under " + root},
        {"an absolute path", [](auto& m, auto&) { m.addonObjectPath = "C:\\tavo\\obj.x"; },
         "error: pathname of obj: C:\\tavo\\obj.x is an absolute path; the game names its files "
         "from its folder"},
        {"an empty image path", [](auto& m, auto&) { m.image1Path.clear(); },
         "error: pathname of image1: nothing is typed"},
        {"sky 6", [](auto& m, auto&) { m.skyIndex = 6; },
         "error: sky image: the sky is 6; the game has skies 0 to 5"},
        {"sky -1", [](auto& m, auto&) { m.skyIndex = -1; },
         "error: sky image: the sky is -1; the game has skies 0 to 5"},
        {"flag bit 2", [](auto& m, auto&) { m.flags = 7; },
         "warning: flags: the flags are 7; only bits 0 and 1 (1 and 2) mean something"},
        {"a point outside", [](auto&, auto& p) { p[2] = point(-61, 0, -5, 2, 1, 0, 2); },
         "warning: slot 2, id 2, WEAPON: lies at (-61, 0, -5), more than 10 units outside the "
         "map's blocks (x -50..50, y -2..10, z -50..50)"},
        {"a human in a wall", [](auto&, auto& p) { p[0] = point(11, 1, 0, 1, 0, 10, 1); },
         "warning: slot 0, id 1, HUMAN: lies inside block 1, more than 0.5 units behind each of "
         "its faces"},
        {"a floating human", [](auto&, auto& p) { p[0] = point(0, 3.5f, 0, 1, 0, 10, 1); },
         "warning: slot 0, id 1, HUMAN: floats: no face of the map lies within 3 units below its "
         "feet (y 3.5)"},
        {"a dangling link", [](auto&, auto& p) { p[0] = point(0, 0, 0, 1, 0, 99, 1); },
         "error: slot 0, id 1, HUMAN: links to id 99, which no point has"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        MissionInfo info = soundMission();
        Points records = sound();
        row.spoil(info, records);
        points(records);
        const auto [status, out, err] = run({mif(info)});
        EXPECT_EQ(status, row.finding.starts_with("error") ? 1 : 0) << out;
        EXPECT_EQ(lineOf(out, 1), row.finding) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out;
    }
}

// A field the file holds longer than the game reads it shifts every later field: an error even
// though the load kept what it could. Bytes that are not Shift-JIS are a warning, counted.
TEST_F(CheckMission, WhatReadingTheFileHadToChangeIsTold) {
    const std::string sound = *mission::writeMissionInfo(soundMission());
    const struct {
        std::string bytes, english, japanese;
    } rows[] = {
        {std::string(40, 'm') + sound.substr(2),
         "error: mission title: is 40 bytes long in the file; the field holds 31",
         "エラー: ミッション識別名: ファイルでは 40 バイトですが、欄は最大 31 バイトです"},
        {"m\xFF" + sound.substr(2), "warning: mission title: holds 1 byte that is not Shift-JIS",
         "警告: ミッション識別名: Shift-JIS でないバイトが 1 個あります"},
        {"\xFFm\xFF" + sound.substr(2),
         "warning: mission title: holds 2 bytes that are not Shift-JIS",
         "警告: ミッション識別名: Shift-JIS でないバイトが 2 個あります"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.english);
        const auto [status, out, err] = run({dir_.write("game/odd.mif", row.bytes)});
        EXPECT_EQ(status, row.english.starts_with("error") ? 1 : 0);
        EXPECT_EQ(lineOf(out, 1), row.english);
        const mission::MissionRead read = mission::readMissionFile(row.bytes);
        const MissionReport report = checkMission(read.info, &read, dir_.at("game"), game());
        ASSERT_EQ(report.findings.size(), 1u) << out;
        EXPECT_EQ(describeMissionFinding(report.findings[0], false), row.japanese);
    }
}

// --root names the root; else it is the nearest folder upwards that holds the map (the sound
// mission), else the mission's own folder.
TEST_F(CheckMission, TheRootIsGivenOrTheNearestFolderUpwardsThatHoldsTheMap) {
    const std::string mission = mif(soundMission()), missions = dir_.at("game/missions");
    const std::string other = dir_.at("other");
    const std::pair<std::vector<std::string>, std::array<std::string, 2>> rows[] = {
        {{mission, "--root", game()},
         {"root: " + game() + " (as given)",
          "3 points, 1 human, 1 path point, 0 events: 0 errors, 0 warnings"}},
        {{mission, "--root=" + missions},
         {"root: " + missions + " (as given)",
          "error: pathname of block: .\\data\\map\\m1.bd1 leads to no file under " + missions}},
        {{mif(soundMission(), "other/m1.mif")},
         {"root: " + other +
              " (no folder from the mission's upwards holds its map; paths are looked for here)",
          "error: pathname of block: .\\data\\map\\m1.bd1 leads to no file under " + other +
              " or any folder above it"}},
    };
    for (const auto& [arguments, lines] : rows) {
        SCOPED_TRACE(lines[0]);
        const auto [status, out, err] = run(arguments);
        EXPECT_EQ(status, lines[1].starts_with("error") ? 1 : 0) << out;
        EXPECT_EQ(lineOf(out, 0), lines[0]);
        EXPECT_EQ(lineOf(out, 1), lines[1]);
    }
}

// Every field spoiled at once: the mission editor shows each finding in Japanese (the points'
// own findings: their tests), the text the file cannot hold is told in English too, and the JSON
// names each field by its member's name and says where the root came from. With the dialog's
// tests, which pin its labels, this names each field as the dialog does.
TEST_F(CheckMission, EachFindingIsToldInJapaneseAndNamedInJson) {
    dir_.write("game/data/briefing/text.png", std::string("not an image at all"));
    dir_.write("game/data/wide.png", testing::pngOf(2, 8200, 8, 0, {0}));
    MissionInfo info = soundMission();
    info.missionName = info.briefingText = "\xF0\x9F\x98\x80";
    info.fullName = std::string(129, 'f') + "\n";
    info.skyIndex = 8;
    info.flags = 6;
    info.blockPath = ".\\data\\MAP\\m1.bd1";
    info.pointPath.clear();
    info.image1Path = ".\\data\\briefing\\text.png";
    info.addonObjectPath = "\\obj.x";
    info.hasImage2 = true;
    info.image2Path = ".\\data\\wide.png";
    const MissionReport report = given(info);
    std::vector<std::string> lines{describeRoot(report, false)}, english;
    for (const MissionFinding& finding : report.findings) {
        lines.push_back(describeMissionFinding(finding, false));
        english.push_back(describeMissionFinding(finding, true));
    }
    const std::string root = game();
    const std::vector<std::string> expected = {
        "ルート: " + root + "（指定のとおり）",
        "エラー: ミッション識別名: Shift-JIS で保存できない文字があります",
        "エラー: ミッション正式名称: Shift-JIS で 130 バイトですが、欄は最大 127 バイトです",
        "エラー: ミッション正式名称: 改行があります。この欄は 1 行です",
        "エラー: ブリーフィング文章: Shift-JIS で保存できない文字があります",
        "エラー: 空: 空が 8 です。ゲームの空は 0 から 5 です",
        "警告: フラグ: フラグが 6 です。意味があるのはビット 0 と 1 (1 と 2) だけです",
        "警告: ブロックのパス名: .\\data\\MAP\\m1.bd1 は大文字と小文字を区別しない場合にだけ " +
            root + "/data/map/m1.bd1 として見つかります。ファイル名のとおりに入力してください",
        "エラー: ポイントのパス名: 何も入力されていません",
        "エラー: 画像1のパス名: 画像読み込みが知らない形式です",
        "エラー: 画像2のパス名: 2 x 8200 ピクセルです。画像の一辺は最大 8192 です",
        "エラー: 追加小物のパス名: " + info.addonObjectPath +
            " は絶対パスです。ゲームはファイルを自分のフォルダーから指定します",
    };
    EXPECT_EQ(lines, expected);
    english.resize(4);
    EXPECT_EQ(english, (std::vector<std::string>{
                           "error: mission title: holds a character that Shift-JIS cannot store",
                           "error: mission fullname: is 130 bytes long in Shift-JIS; the field "
                           "holds 127",
                           "error: mission fullname: holds a line end; the field is one line",
                           "error: briefing text: holds a character that Shift-JIS cannot store"}));
    const QJsonObject top = jsonOf(missionReportToJson(report));
    std::string fields;
    for (const QJsonValue finding : top["findings"].toArray()) {
        fields += finding.toObject()["field"].toString().toStdString() + " ";
    }
    EXPECT_EQ(fields,
              "missionName fullName fullName briefingText skyIndex flags blockPath pointPath "
              "image1Path image2Path addonObjectPath ");
    EXPECT_EQ(top["rootSource"].toString().toStdString(), "given");
    info.blockPath = ".\\none.bd1";
    const QJsonObject none = jsonOf(
        missionReportToJson(checkMission(info, nullptr, dir_.at("game/missions"), std::nullopt)));
    EXPECT_EQ(none["rootSource"].toString().toStdString(), "none");
    EXPECT_EQ(none["root"].toString().toStdString(), dir_.at("game/missions"));
}

// The JSON tells what the text tells: the root, then each finding with its severity and message
// in the same order, and the summary on standard error.
TEST_F(CheckMission, JsonHoldsWhatTheTextSays) {
    MissionInfo info = soundMission();
    info.skyIndex = 9;
    info.image1Path = ".\\data\\briefing\\B.PNG";
    points({point(0, 0, 0, 1, 0, 99, 1), point(11, 1, 0, 2, 1, 0, 2)});
    const std::string mission = mif(info);
    const auto [textStatus, text, textErr] = run({mission});
    const auto [status, json, err] = run({mission, "--json"});
    EXPECT_EQ(status, textStatus);
    const QJsonObject top = jsonOf(json);
    EXPECT_EQ(top["root"].toString().toStdString(), game());
    EXPECT_EQ(top["rootSource"].toString().toStdString(), "found");
    const QJsonArray findings = top["findings"].toArray();
    ASSERT_EQ(findings.size(), 4) << json;
    const std::pair<const char*, int> fieldAndSlot[] = {
        {"skyIndex", -1}, {"image1Path", -1}, {"pointPath", 0}, {"pointPath", 1}};
    for (int i = 0; i < 4; ++i) {
        const std::string line = lineOf(text, i + 1);
        const QJsonObject finding = findings[i].toObject();
        const std::string severity = finding["severity"].toString().toStdString();
        EXPECT_EQ(line.substr(0, severity.size()), severity) << i;
        const std::string message = finding["message"].toString().toStdString();
        EXPECT_EQ(line.substr(line.size() - std::min(line.size(), message.size())), message) << i;
        EXPECT_EQ(finding["field"].toString().toStdString(), fieldAndSlot[i].first) << i;
        EXPECT_EQ(finding["slot"].isNull() ? -1 : finding["slot"].toInt(), fieldAndSlot[i].second)
            << i;
    }
    EXPECT_EQ(err, lineOf(text, 5) + "\n");
}

} // namespace
} // namespace tavo::pointtool
