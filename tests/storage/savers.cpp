#include "tests/storage/savers.h"

#include <memory>

#include "pointeditor/data/point_file.h"
#include "tests/support/fake_platform.h"

#ifdef TAVO_STORAGE_MISSION
#include <QApplication>

#include "missioneditor/mission_dialog.h"
#endif

namespace tavo::testing {
namespace {

std::vector<PointRecord> somePoints() {
    std::vector<PointRecord> points(3);
    for (int i = 0; i < 3; ++i) {
        points[i].x = static_cast<float>(i) * 10.0f;
        points[i].r = -0.3926990f;
        points[i].p1 = 1;
        points[i].p4 = static_cast<int8_t>(i + 1);
    }
    return points;
}

std::string savePoints(const std::string& path) {
    auto state = std::make_unique<EditorState>();
    FakePlatform window;
    state->window = &window;
    std::vector<PointRecord> points = somePoints();
    for (std::size_t i = 0; i < points.size(); ++i) {
        state->points[i * 2] = points[i]; // with free slots between, as after deleting points
        state->pointUsed[i * 2] = 1;
    }
    const bool saved = savePointFile(*state, path);
    std::string report;
    for (const RecordedBox& box : window.boxes) {
        report += box.text + " | " + box.caption + "\n";
    }
    // A save that says it worked shows nothing, and one that failed says so.
    if (saved != window.boxes.empty()) {
        report += "the result disagrees with the boxes\n";
    }
    return report;
}

std::string savedPoints() {
    std::vector<uint8_t> bytes = encodePointFile(somePoints());
    return {bytes.begin(), bytes.end()};
}

const Saver kPointSaver{"PointFile",       "points.pd1", "error",    "file open error",
                        "file open error", savePoints,   savedPoints};

#ifdef TAVO_STORAGE_MISSION
mission::MissionInfo someMission() {
    mission::MissionInfo info;
    info.missionName = "m07";
    info.fullName = "A mission saved onto failing storage";
    info.blockPath = ".\\data\\map07\\temp.bd1";
    info.pointPath = ".\\addon\\m07.pd1";
    info.skyIndex = 2;
    info.image1Path = ".\\data\\briefing\\np.bmp";
    info.briefingText = "First line.\nSecond line.";
    return info;
}

class AnsweringServices : public mission::DialogServices {
public:
    explicit AnsweringServices(QString path) : path_(std::move(path)) {}
    std::string report;

    std::optional<QString> chooseFile(QWidget*, const mission::FileRequest&) override {
        return path_;
    }
    void errorBox(const QString& text, const QString& caption) override {
        report += text.toStdString() + " | " + caption.toStdString() + "\n";
    }

private:
    QString path_;
};

// Runs in a child of its own, so the application object is made here.
std::string saveMission(const std::string& path) {
    int argc = 1;
    char name[] = "storage_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    AnsweringServices services(QString::fromStdString(path));
    mission::MissionDialog dialog(services, false);
    dialog.showMissionInfo(someMission());
    dialog.save();
    return services.report;
}

std::string savedMission() {
    return mission::writeMissionInfo(someMission()).bytes;
}

const Saver kMissionSaver{
    "MissionFile", "mission.mif", "ERROR", "file open error", "file open error (writing)",
    saveMission,   savedMission};
#endif

} // namespace

std::vector<const Saver*> savers() {
#ifdef TAVO_STORAGE_MISSION
    return {&kPointSaver, &kMissionSaver};
#else
    return {&kPointSaver};
#endif
}

} // namespace tavo::testing
