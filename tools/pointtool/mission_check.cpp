#include "tools/pointtool/mission_check.h"

#include <algorithm>

#include "common/files/file_read.h"
#include "common/files/printable.h"
#include "missioneditor/mission_paths.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_placement.h"
#include "pointeditor/view/image/image_decoder.h"

namespace tavo {
namespace {

using mission::Field;
using std::to_string;

class MissionChecker {
public:
    MissionChecker(const mission::MissionInfo& info, const mission::MissionRead* read)
        : info_(info), read_(read) {}

    MissionReport run(const std::string& start, const std::optional<std::string>& root) {
        checkFields();
        findRoot(start, root);
        const std::optional<std::string> map = findFile(Field::BlockPath);
        const std::optional<std::string> points = findFile(Field::PointPath);
        checkMapAndPoints(map, points);
        checkImage(Field::Image1Path);
        if (info_.hasImage2) {
            checkImage(Field::Image2Path);
        }
        if (info_.hasAddonObject) {
            findFile(Field::AddonObjectPath);
        }
        for (Finding& finding : pointFindings_) {
            report_.findings.push_back({Field::PointPath, true, std::move(finding)});
        }
        for (const MissionFinding& finding : report_.findings) {
            (finding.finding.severity == Severity::Error ? report_.summary.errors
                                                         : report_.summary.warnings) += 1;
        }
        return std::move(report_);
    }

private:
    void add(Field field, Severity severity, std::string message, std::string japanese) {
        report_.findings.push_back(
            {field, false,
             Finding{-1, 0, 0, severity, std::move(message), std::move(japanese), {}}});
    }

    // What the file held that the field could not, or what the field holds that a file cannot.
    void checkFields() {
        constexpr Field textFields[] = {
            Field::MissionName,     Field::FullName,   Field::BlockPath,  Field::PointPath,
            Field::AddonObjectPath, Field::Image1Path, Field::Image2Path, Field::BriefingText};
        for (Field field : textFields) {
            if ((field == Field::AddonObjectPath && !info_.hasAddonObject) ||
                (field == Field::Image2Path && !info_.hasImage2)) {
                continue;
            }
            const std::string& text = *mission::fieldText(info_, field);
            const bool asRead = read_ != nullptr && *mission::fieldText(read_->info, field) == text;
            if (asRead) {
                checkAsRead(field, read_->field(field));
            } else {
                checkText(field, text);
            }
        }
        if (info_.skyIndex < 0 || info_.skyIndex >= mission::SkyCount) {
            const std::string sky = to_string(info_.skyIndex);
            add(Field::SkyIndex, Severity::Error,
                "the sky is " + sky + "; the game has skies 0 to 5",
                "空が " + sky + " です。ゲームの空は 0 から 5 です");
        }
        const int unknown = info_.flags & ~(mission::ExtraCollisionFlag | mission::DarkScreenFlag);
        if (unknown != 0) {
            const std::string flags = to_string(info_.flags);
            add(Field::Flags, Severity::Warning,
                "the flags are " + flags + "; only bits 0 and 1 (1 and 2) mean something",
                "フラグが " + flags + " です。意味があるのはビット 0 と 1 (1 と 2) だけです");
        }
    }

    void checkAsRead(Field field, const mission::FieldRead& read) {
        const std::string limit = to_string(mission::fieldLimit(field));
        if (read.cut) {
            const std::string size = to_string(read.sizeInFile);
            add(field, Severity::Error,
                "is " + size + " bytes long in the file; the field holds " + limit,
                "ファイルでは " + size + " バイトですが、欄は最大 " + limit + " バイトです");
        }
        if (read.replaced > 0) {
            const std::string n = to_string(read.replaced);
            add(field, Severity::Warning,
                "holds " + n + (read.replaced == 1 ? " byte that is" : " bytes that are") +
                    " not Shift-JIS",
                "Shift-JIS でないバイトが " + n + " 個あります");
        }
    }

    void checkText(Field field, const std::string& text) {
        const std::optional<std::size_t> size = mission::cp932Size(text);
        if (!size) {
            add(field, Severity::Error, "holds a character that Shift-JIS cannot store",
                "Shift-JIS で保存できない文字があります");
            return;
        }
        // The briefing's lines are stored with CR LF between them.
        const bool briefing = field == Field::BriefingText;
        const std::size_t stored =
            *size +
            (briefing ? static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) : 0);
        const std::size_t limit = mission::fieldLimit(field);
        if (stored > limit) {
            const std::string n = to_string(stored), most = to_string(limit);
            add(field, Severity::Error,
                "is " + n + " bytes long in Shift-JIS; the field holds " + most,
                "Shift-JIS で " + n + " バイトですが、欄は最大 " + most + " バイトです");
        }
        if (!briefing && text.find_first_of("\r\n") != std::string::npos) {
            add(field, Severity::Error, "holds a line end; the field is one line",
                "改行があります。この欄は 1 行です");
        }
    }

    void findRoot(const std::string& start, const std::optional<std::string>& root) {
        if (root) {
            report_.root = *root;
            report_.rootSource = RootSource::Given;
        } else if (auto found = mission::findGameRoot(start, info_.blockPath)) {
            report_.root = *found;
            report_.rootSource = RootSource::Found;
        } else {
            report_.root = start;
            report_.rootSource = RootSource::NotFound;
        }
    }

    // The file a path field names, or its finding.
    std::optional<std::string> findFile(Field field) {
        const std::string& typed = *mission::fieldText(info_, field);
        const auto found = mission::findGameFile(report_.root, typed);
        if (found) {
            if (!found->exactCase) {
                const std::string path = printable(found->path);
                add(field, Severity::Warning,
                    printable(typed) + " is found only when case is ignored, as " + path +
                        "; the path should be typed as the file is named",
                    printable(typed) + " は大文字と小文字を区別しない場合にだけ " + path +
                        " として見つかります。ファイル名のとおりに入力してください");
            }
            return found->path;
        }
        mission::UnresolvedPath unresolved{
            field, printable(typed), found.error(), printable(report_.root),
            report_.rootSource == RootSource::NotFound && field == Field::BlockPath};
        add(field, Severity::Error, mission::describePathProblem(unresolved, true),
            mission::describePathProblem(unresolved, false));
        return std::nullopt;
    }

    std::optional<std::vector<uint8_t>> readFile(Field field, const std::string& path,
                                                 std::size_t limit) {
        FileResult<std::vector<uint8_t>> bytes = readWholeFile(path, limit);
        if (!bytes) {
            add(field, Severity::Error, bytes.error().text, "読めません: " + bytes.error().text);
            return std::nullopt;
        }
        return std::move(*bytes);
    }

    void checkMapAndPoints(const std::optional<std::string>& mapPath,
                           const std::optional<std::string>& pointPath) {
        std::optional<BlockFileContents> map;
        if (mapPath) {
            if (auto bytes = readFile(Field::BlockPath, *mapPath, DataFileLimit)) {
                map = decodeBlockFile(*bytes);
            }
        }
        if (!pointPath) {
            return;
        }
        const auto bytes = readFile(Field::PointPath, *pointPath, DataFileLimit);
        if (!bytes) {
            return;
        }
        const PointFileContents points = decodePointFile(*bytes);
        CheckReport check = checkPoints(points, map ? &*map : nullptr);
        report_.summary = check.summary;
        if (map) {
            PointTable table;
            for (std::size_t slot = 0; slot < points.records.size(); ++slot) {
                table.points[slot] = points.records[slot];
                table.pointUsed[slot] = SlotUsed;
            }
            for (Finding& finding : placementFindings(table, *map)) {
                check.findings.push_back(std::move(finding));
            }
            // The file's own findings first, then by slot, as `check` orders them.
            std::stable_sort(check.findings.begin(), check.findings.end(),
                             [](const Finding& a, const Finding& b) { return a.slot < b.slot; });
        }
        pointFindings_ = std::move(check.findings);
    }

    void checkImage(Field field) {
        const std::optional<std::string> path = findFile(field);
        if (!path) {
            return;
        }
        const auto bytes = readFile(field, *path, ImageFileLimit);
        if (!bytes) {
            return;
        }
        const ImageHeader header = probeImage(*bytes);
        TextureProblem problem = header.problem;
        if (problem == TextureProblem::None && !decodeImage(*bytes)) {
            problem = TextureProblem::Damaged;
        }
        const std::string side = to_string(MaxImageSide);
        switch (problem) {
        case TextureProblem::None:
            return;
        case TextureProblem::NotFound: // the reader was given the bytes: never
        case TextureProblem::Unsupported:
            add(field, Severity::Error, "is in a format the image reader does not know",
                "画像読み込みが知らない形式です");
            return;
        case TextureProblem::Damaged:
            add(field, Severity::Error, "is damaged: the image reader cannot read it whole",
                "ファイルが壊れています。画像を最後まで読めません");
            return;
        case TextureProblem::OverBudget:
            add(field, Severity::Error,
                "is " + to_string(header.width) + " x " + to_string(header.height) +
                    " pixels; an image may have at most " + side + " on a side",
                to_string(header.width) + " x " + to_string(header.height) +
                    " ピクセルです。画像の一辺は最大 " + side + " です");
            return;
        }
    }

    const mission::MissionInfo& info_;
    const mission::MissionRead* read_;
    MissionReport report_;
    std::vector<Finding> pointFindings_; // told after the fields', as `check` tells them
};

} // namespace

MissionReport checkMission(const mission::MissionInfo& info, const mission::MissionRead* read,
                           const std::string& start, const std::optional<std::string>& root) {
    return MissionChecker(info, read).run(start, root);
}

std::string describeMissionFinding(const MissionFinding& finding, bool english) {
    if (finding.fromPointCheck) {
        return describeFinding(finding.finding, english);
    }
    const bool error = finding.finding.severity == Severity::Error;
    const std::string severity =
        english ? (error ? "error: " : "warning: ") : (error ? "エラー: " : "警告: ");
    return severity + mission::fieldName(finding.field, english) + ": " +
           finding.finding.text(english);
}

std::string describeRoot(const MissionReport& report, bool english) {
    const std::string root = printable(report.root);
    switch (report.rootSource) {
    case RootSource::Given:
        return english ? "root: " + root + " (as given)" : "ルート: " + root + "（指定のとおり）";
    case RootSource::Found:
        return english ? "root: " + root +
                             " (the nearest folder from the mission's upwards that holds its map)"
                       : "ルート: " + root +
                             "（ミッションのフォルダーから上へ、マップのある最も近いフォルダー）";
    case RootSource::NotFound:
        break;
    }
    return english
               ? "root: " + root +
                     " (no folder from the mission's upwards holds its map; paths are "
                     "looked for here)"
               : "ルート: " + root +
                     "（ミッションのフォルダーから上のどこにもマップがないため、ここで探します）";
}

} // namespace tavo
