// Mission files, written by the mission editor's own writer, and a few that only another editor
// would make (bare LF line ends, a file that stops early).

#include <stdexcept>

#include "fuzz/seeds/seed_files.h"
#include "missioneditor/mission_info.h"

namespace tavo::fuzz {
namespace {

using mission::Field;

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

std::string longest(Field field, char letter) {
    return std::string(mission::fieldLimit(field), letter);
}

} // namespace

std::vector<SeedFile> missionFileSeeds() {
    mission::MissionInfo japanese;
    japanese.missionName = "作戦01";
    japanese.fullName = "夜間潜入作戦・第一段階";
    japanese.blockPath = ".\\data\\map10\\temp.bd1";
    japanese.pointPath = ".\\addon\\m01.pd1";
    japanese.skyIndex = 3;
    japanese.hasAddonObject = true;
    japanese.addonObjectPath = ".\\addon\\追加物体.txt";
    japanese.image1Path = ".\\data\\briefing\\np.bmp";
    japanese.hasImage2 = true;
    japanese.image2Path = ".\\data\\briefing\\地図２.bmp";
    japanese.flags = mission::ExtraCollisionFlag | mission::DarkScreenFlag;
    japanese.briefingText = "ｶﾀｶﾅと漢字の説明文。\n二行目です。\n\nGet out alive.";

    mission::MissionInfo full;
    full.missionName = longest(Field::MissionName, 'n');
    full.fullName = longest(Field::FullName, 'f');
    full.blockPath = longest(Field::BlockPath, 'b');
    full.pointPath = longest(Field::PointPath, 'p');
    full.skyIndex = 5;
    full.flags = 3;
    full.hasAddonObject = full.hasImage2 = true;
    full.addonObjectPath = longest(Field::AddonObjectPath, 'o');
    full.image1Path = longest(Field::Image1Path, 'i');
    full.image2Path = longest(Field::Image2Path, 'j');
    while (full.briefingText.size() + 41 <= mission::fieldLimit(Field::BriefingText)) {
        full.briefingText +=
            std::string(39, static_cast<char>('a' + full.briefingText.size() % 26)) + "\n";
    }
    full.briefingText.pop_back();

    mission::MissionInfo odd;
    odd.skyIndex = -1;
    odd.flags = 0x7FFFFFFC;

    return {
        {"new.mif", written(mission::MissionInfo{})},
        {"japanese.mif", written(japanese)},
        {"longest.mif", written(full)},
        {"odd_numbers.mif", written(odd)},
        {"bare_lf.mif",
         text("m\nfull\n.\\a.bd1\n.\\a.pd1\n2\n1\n!\n.\\np.bmp\n!\nline one\nline two\n")},
        {"stops_early.mif", text("m02\r\nHalf a file\r\n.\\b.bd1")},
        {"not_numbers.mif", text("m\r\nf\r\nb\r\np\r\n  +4x\r\n-\r\n!x\r\ni\r\n!\r\n")},
    };
}

} // namespace tavo::fuzz
