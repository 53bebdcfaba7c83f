// Mission files, written by the mission editor's own writer, and a few that only another editor
// would make (bare LF line ends, a file that stops early).

#include <stdexcept>

#include "fuzz/seeds/seed_files.h"
#include "missioneditor/mission_info.h"

namespace tavo::fuzz {
namespace {

std::vector<uint8_t> written(const mission::MissionInfo& info) {
    const auto file = mission::writeMissionInfo(info);
    if (!file) {
        throw std::runtime_error("a mission seed cannot be written");
    }
    return {file->begin(), file->end()};
}

std::vector<uint8_t> text(std::string_view bytes) {
    return {bytes.begin(), bytes.end()};
}

} // namespace

std::vector<SeedFile> missionFileSeeds() {
    mission::MissionInfo plain;
    plain.missionName = "m01";
    plain.fullName = "Operation Night Falcon";
    plain.blockPath = ".\\data\\map10\\temp.bd1";
    plain.pointPath = ".\\addon\\m01.pd1";
    plain.skyIndex = 3;
    plain.flags = mission::ExtraCollisionFlag;
    plain.image1Path = ".\\data\\briefing\\np.bmp";
    plain.briefingText = "Reach the roof.\nTake the documents.\n\nGet out alive.";

    mission::MissionInfo japanese = plain;
    japanese.missionName = "作戦01";
    japanese.fullName = "夜間潜入作戦・第一段階";
    japanese.hasAddonObject = true;
    japanese.addonObjectPath = ".\\addon\\追加物体.txt";
    japanese.hasImage2 = true;
    japanese.image2Path = ".\\data\\briefing\\地図２.bmp";
    japanese.flags = mission::ExtraCollisionFlag | mission::DarkScreenFlag;
    japanese.briefingText = "ｶﾀｶﾅと漢字の説明文。\n二行目です。";

    // Every field at its longest.
    mission::MissionInfo longest;
    longest.missionName = std::string(mission::fieldLimit(mission::Field::MissionName), 'n');
    longest.fullName = std::string(mission::fieldLimit(mission::Field::FullName), 'f');
    longest.blockPath = std::string(mission::fieldLimit(mission::Field::BlockPath), 'b');
    longest.pointPath = std::string(mission::fieldLimit(mission::Field::PointPath), 'p');
    longest.skyIndex = 5;
    longest.flags = 3;
    longest.hasAddonObject = true;
    longest.addonObjectPath =
        std::string(mission::fieldLimit(mission::Field::AddonObjectPath), 'o');
    longest.image1Path = std::string(mission::fieldLimit(mission::Field::Image1Path), 'i');
    longest.hasImage2 = true;
    longest.image2Path = std::string(mission::fieldLimit(mission::Field::Image2Path), 'j');
    for (int line = 0;
         longest.briefingText.size() + 41 <= mission::fieldLimit(mission::Field::BriefingText);
         ++line) {
        longest.briefingText += std::string(39, static_cast<char>('a' + line % 26)) + "\n";
    }
    longest.briefingText.pop_back();

    mission::MissionInfo odd;
    odd.skyIndex = -1;
    odd.flags = 0x7FFFFFFC;

    return {
        {"new.mif", written(mission::MissionInfo{})},
        {"plain.mif", written(plain)},
        {"japanese.mif", written(japanese)},
        {"longest.mif", written(longest)},
        {"odd_numbers.mif", written(odd)},
        {"bare_lf.mif",
         text("m\nfull\n.\\a.bd1\n.\\a.pd1\n2\n1\n!\n.\\np.bmp\n!\nline one\nline two\n")},
        {"stops_early.mif", text("m02\r\nHalf a file\r\n.\\b.bd1")},
        {"not_numbers.mif", text("m\r\nf\r\nb\r\np\r\n  +4x\r\n-\r\n!x\r\ni\r\n!\r\n")},
    };
}

} // namespace tavo::fuzz
