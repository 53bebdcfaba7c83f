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

// The bytes kept for a field are what the file may hold: within the limit, and no CR but the first
// half of a line end of the briefing.
void checkKept(Field field, const mission::FieldRead& read) {
    FUZZ_REQUIRE(read.bytes.size() <= mission::fieldLimit(field));
    const std::string& bytes = read.bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (field != Field::BriefingText) {
            FUZZ_REQUIRE(bytes[i] != '\r' && bytes[i] != '\n');
        } else if (bytes[i] == '\r') {
            FUZZ_REQUIRE(i + 1 < bytes.size() && bytes[i + 1] == '\n');
        }
    }
    FUZZ_REQUIRE(read.cut == (read.sizeInFile > 0));
}

} // namespace

void checkMissionFile(std::span<const uint8_t> bytes) {
    const std::string_view file(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const mission::MissionRead read = mission::readMissionFile(file);
    const mission::MissionInfo& info = read.info;
    FUZZ_REQUIRE(info.hasAddonObject || info.addonObjectPath.empty());
    FUZZ_REQUIRE(info.hasImage2 || info.image2Path.empty());
    for (std::size_t f = 0; f < mission::FieldCount; ++f) {
        const auto field = static_cast<Field>(f);
        if (const std::string* text = mission::fieldText(info, field)) {
            checkText(field, *text, field != Field::BriefingText);
        }
        checkKept(field, read.fields[f]);
    }

    // Saving what was loaded, nothing edited, works (the kept bytes need no encoding), and reads
    // back as it was shown, each field with the very bytes kept for it and nothing more to cut or
    // remove; a second round gives the same file. The one refusal: an optional path that begins
    // with "!" once a CR before it is gone, which would read back as none.
    const auto saved = mission::writeMissionInfo(info, &read);
    if (!saved) {
        const mission::FieldProblem problem = saved.error();
        FUZZ_REQUIRE(problem.problem == mission::Problem::StartsWithNone);
        FUZZ_REQUIRE(read.field(problem.field).carriageReturns > 0);
        return;
    }
    const mission::MissionRead reloaded = mission::readMissionFile(*saved);
    FUZZ_REQUIRE(reloaded.info == info);
    for (std::size_t f = 0; f < mission::FieldCount; ++f) {
        FUZZ_REQUIRE(reloaded.fields[f].bytes == read.fields[f].bytes);
        FUZZ_REQUIRE(!reloaded.fields[f].cut && reloaded.fields[f].carriageReturns == 0);
    }
    const auto resaved = mission::writeMissionInfo(reloaded.info, &reloaded);
    FUZZ_REQUIRE(resaved && *resaved == *saved);

    // Every field encoded anew, as after editing them all: what can be written is read back as it
    // was, and writing that again gives the same bytes.
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
