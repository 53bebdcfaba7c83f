// The mission file through the mission editor's reader, then its writer and reader again.

#include <algorithm>

#include "fuzz/check.h"
#include "fuzz/reader_checks.h"
#include "missioneditor/mission_info.h"

namespace tavo::fuzz {
namespace {

using mission::Field;

// A field read from a file keeps within what the file format lets it hold.
void checkText(Field field, const std::string& text, bool oneLine) {
    if (oneLine) {
        FUZZ_REQUIRE(text.find('\n') == std::string::npos);
    }
    if (std::optional<std::size_t> size = mission::cp932Size(text)) {
        // The briefing's limit counts CR LF between lines; the text holds "\n" there.
        const auto lineEnds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        FUZZ_REQUIRE(*size + (oneLine ? 0 : lineEnds) <= mission::fieldLimit(field));
    }
}

} // namespace

void checkMissionFile(std::span<const uint8_t> bytes) {
    const std::string_view file(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const mission::MissionInfo info = mission::readMissionInfo(file);
    checkText(Field::MissionName, info.missionName, true);
    checkText(Field::FullName, info.fullName, true);
    checkText(Field::BlockPath, info.blockPath, true);
    checkText(Field::PointPath, info.pointPath, true);
    checkText(Field::AddonObjectPath, info.addonObjectPath, true);
    checkText(Field::Image1Path, info.image1Path, true);
    checkText(Field::Image2Path, info.image2Path, true);
    checkText(Field::BriefingText, info.briefingText, false);
    FUZZ_REQUIRE(info.hasAddonObject || info.addonObjectPath.empty());
    FUZZ_REQUIRE(info.hasImage2 || info.image2Path.empty());

    // What can be written is read back as it was, and writing that again gives the same bytes:
    // loading a file and saving it loses nothing and changes nothing on a second round.
    const auto written = mission::writeMissionInfo(info);
    if (!written) {
        return;
    }
    const mission::MissionInfo reread = mission::readMissionInfo(*written);
    FUZZ_REQUIRE(reread == info);
    const auto again = mission::writeMissionInfo(reread);
    FUZZ_REQUIRE(again && *again == *written);
}

} // namespace tavo::fuzz
